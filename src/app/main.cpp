#include "app/converterapp.h"
#include "platform/paths.h"
#include "process/childprocess.h"
#include "shell/widgets/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before anything opens a file: no descriptor may take the number of a missing
    // standard stream, or a child would get it as its own.
    process::ensureStandardFds();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Marlo Video Converter"));
    ConverterApp converter(QString::fromLocal8Bit(argv[0]), paths::programFolder(),
                           paths::configFolder());
    converter.mainWindow().show();
    return app.exec();
}
