#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The numbered output profiles: number, picker panel and description. The
// description names the output extension: "AVI-DivX Movie(*.avi)" gives ".avi".
struct CatalogueEntry {
    int number;
    const char *panel;
    const char *description; // UTF-8
};

struct Category {
    int number;
    const char *image;
    QStringList panels;
};

namespace catalogue
{

const std::vector<CatalogueEntry> &entries();
const std::vector<Category> &categories();

// Empty for filler numbers and numbers outside 1..131.
QString description(int number);
QString extension(int number);
bool isProfile(int number);

// The profile a fresh installation starts with, from the keywords of the
// executable's name.
int defaultProfileForExe(const QString &exeFileName);

} // namespace catalogue
