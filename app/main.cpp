#include "LarkspurApplication.h"
#include "Unit1.h"

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    app.setApplicationDisplayName(QString::fromLatin1(ApplicationTitle));
    TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}
