#include "LarkspurApplication.h"
#include "Unit1.h"

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    app.setApplicationDisplayName(QString::fromLatin1(ApplicationTitle));
    TfrmMain frmMain;
    frmMain.show();
    const int result = app.exec();
    frmMain.FormClose();
    return result;
}
