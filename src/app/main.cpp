#include "app/converterapp.h"
#include "platform/paths.h"
#include "shell/widgets/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Marlo Video Converter"));
    ConverterApp converter(QString::fromLocal8Bit(argv[0]), paths::programFolder(),
                           paths::configFolder());
    converter.mainWindow().show();
    return app.exec();
}
