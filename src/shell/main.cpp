#include "AppStarter.h"
#include "MainForm.h"
#include "VelmoraApplication.h"

int main(int argc, char **argv)
{
    Velmora::VelmoraApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velmora"));
    app.setOrganizationName(QStringLiteral("Holmvik"));

    Velmora::AppStarter starter(app.arguments().mid(1));
    app.setUnexpectedErrorHandler([&starter](const QString &errorText) {
        qWarning("Velmora: unexpected error: %s", qUtf8Printable(errorText));
        if (starter.mainForm())
            starter.mainForm()->HandleUnexpectedError(errorText);
    });
    if (!starter.start())
        return 0;
    return app.exec();
}
