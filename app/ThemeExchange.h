#pragma once
// Themes beside other tools and other themes: palettes imported and
// exported, images and the theme card exported, a second theme held for
// comparison (shown on the preview while the backslash key is down), and the
// theme browser. The session decides; this asks for files and says how it went.

#include <QObject>
#include <QString>

class Bitmap;
class EditorSession;
class TfrmMain;

class ThemeExchange : public QObject {
public:
    ThemeExchange(TfrmMain& form, EditorSession& session);

    void mniImportPaletteClick();
    void mniExportPaletteClick();
    void mniExportCardClick();
    void mniExportImageClick();
    void mniExportAllClick();
    void mniCompareClick();
    void mniBrowseClick();
    // Holds the theme of `file` beside the document; false, saying why, when
    // it cannot be read.
    bool CompareWith(const QString& file);

private:
    // Asks under `title` where to, suggesting a name that ends in `what`.
    bool SaveImage(const Bitmap& image, const QString& title, const QString& what, bool zoomed = true);

    TfrmMain& form_;
    EditorSession& session_;
};
