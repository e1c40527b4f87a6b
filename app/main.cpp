#include "LarkspurApplication.h"
#include "Unit1.h"

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    // No display name: the platform would append it to every window title.
    TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}
