#include "app/AppStarter.h"
#include "app/MainForm.h"
#include "app/VelmoraApplication.h"

int main(int argc, char **argv)
{
    Velmora::VelmoraApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velmora"));
    app.setOrganizationName(QStringLiteral("Holmvik"));

    Velmora::AppStarter starter(app.arguments().mid(1));
    app.setUnexpectedErrorHandler([&starter](const QString &) {
        if (starter.mainForm())
            starter.mainForm()->HandleUnexpectedError();
    });
    if (!starter.start())
        return 0;
    return app.exec();
}
