#pragma once

class QApplication;

// The program's one look for ordinary controls: the font, the palette and a
// style sheet matching the skin (neutral light surfaces, one accent colour).
namespace theme
{
void apply(QApplication &app);
} // namespace theme
