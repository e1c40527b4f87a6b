#pragma once
// The main window: the page list, the colour list, the colour button, the
// preview panel drawn on the window's own surface, the menus and the status bar.
// Each user action or device event is one handler named after its control and
// event, as in the rest of the program.

#include "ColorModel.h"
#include "DeviceConversation.h"
#include "EditorDialogs.h"
#include "HidControllerClass.h"
#include "SlotCatalogue.h"
#include "SwatchButton.h"
#include "ThemeDocument.h"
#include "ColorVision.h"
#include "Unit2.h"

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QActionGroup;
class QCheckBox;
class QDialog;
class ThemeBrowser;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QStyleOptionViewItem;
class QTimer;
class ClientSurface;
class DraftStore;
class RecentFiles;


extern const char* const ApplicationTitle;

// The pixel size of a font of `points` at 96 dpi, the resolution the fixed
// layout is drawn for.
int PointsAt96Dpi(double points);

// A theme file's name as the caption shows it: without its folder, or
// "Untitled" for none.
std::string ShownFileName(const std::string& path);

class TfrmMain : public QMainWindow {
public:
    // Without a backend the window uses the simulated device when
    // LARKSPUR_HID_SIMULATOR is set, else udev/hidraw.
    explicit TfrmMain(std::unique_ptr<EditorDialogs> dialogs = std::make_unique<QtEditorDialogs>(),
                      std::shared_ptr<HidBackend> hidBackend = nullptr, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Controls, named as the handlers refer to them.
    ClientSurface* surface = nullptr;
    QComboBox* cmbLayout = nullptr;
    QListWidget* lstColors = nullptr;
    SwatchButton* btnColor = nullptr;
    QPlainTextEdit* memo1 = nullptr;
    QCheckBox* chk1 = nullptr;
    QStatusBar* stBar = nullptr;
    QLabel* stBarPanel = nullptr;
    QTimer* tmrDataflash = nullptr;
    THidDeviceController* DevCon = nullptr;

    QMenu* mniFile = nullptr;
    QAction* mniNew = nullptr;
    QAction* mniOpen = nullptr;
    QAction* mniSave = nullptr;
    QAction* mniSaveAs = nullptr;
    QAction* mniExit = nullptr;
    QMenu* mniRecent = nullptr;
    QAction* mniClearRecent = nullptr;
    QMenu* mniEdit = nullptr;
    QAction* mniUndo = nullptr;
    QAction* mniRedo = nullptr;
    QAction* mniCopyColor = nullptr;
    QAction* mniPasteColor = nullptr;
    QAction* mniLockColor = nullptr;
    QAction* mniGenerate = nullptr;
    QAction* mniCompare = nullptr;
    QAction* mniBrowse = nullptr;
    // File > Browse Themes, made when first asked for.
    ThemeBrowser* browser = nullptr;
    QAction* mniImportPalette = nullptr;
    QAction* mniExportPalette = nullptr;
    QAction* mniExportCard = nullptr;
    // The window of the compared theme, with its list of differing slots.
    QDialog* compareWindow = nullptr;
    QMenu* mniDisplay = nullptr;
    QAction* mniDispLarge = nullptr;
    QAction* mniDispSmall = nullptr;
    QAction* mniZoomIn = nullptr;
    QAction* mniZoomOut = nullptr;
    QAction* mniActualSize = nullptr;
    QMenu* mniSimulate = nullptr;
    QAction* mniCheckLegibility = nullptr;
    QAction* mniExportImage = nullptr;
    QAction* mniExportAll = nullptr;
    QMenu* mniTheme = nullptr;
    QAction* mniDownload = nullptr;
    QAction* mniUpload = nullptr;

    // Start-up.
    void FormCreate();
    void FormShow();

    // Page selection and colour list.
    void cmbLayoutClick();
    void FillColorList();
    void UpdatePreview();
    void lstColorsClick();
    void lstColorsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected, bool focused);
    void lstColorsMouseMove(const QPoint& pos);
    void lstColorsDblClick();
    void lstColorsKeyPress(int key);

    // Colour editing.
    void UpdateColorButton();
    void btnColorClick();
    void FormDblClick();

    // Preview panel and display size.
    void FormPaint(QPainter& painter);
    // The pointer over the window's surface, in client pixels; Leave when it goes.
    void FormMouseMove(int x, int y, const QPoint& globalPos);
    void FormMouseLeave();
    // Zoom 1..4 of the preview; the window follows, and stays on its screen.
    // A factor larger than the screen has room for is refused.
    void SetZoom(int factor);
    int Zoom() const { return zoom_; }
    bool ZoomFits(int factor) const;
    void SetColorVision(ColorVision vision);
    ColorVision CurrentColorVision() const { return vision_; }
    // The slot whose pixels the preview outlines, -1 for none.
    int HoveredSlot() const { return hoverSlot_; }
    void mniCheckLegibilityClick();
    void mniExportImageClick();
    // Palettes, the theme card and a second theme to compare with.
    void mniImportPaletteClick();
    void mniExportPaletteClick();
    void mniExportCardClick();
    void mniCompareClick();
    void mniBrowseClick();
    // Holds the theme of `file` beside the document; false, saying why, when
    // it cannot be read.
    bool CompareWith(const QString& file);
    void mniExportAllClick();
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void mniDispLargeClick();
    void mniDispSmallClick();

    // Document commands.
    bool ConfirmContinue();
    void mniNewClick();
    void mniOpenClick();
    void mniSaveClick();
    void mniSaveAsClick();
    void mniExitClick();
    bool FormCloseQuery();
    void FormClose();

    // Opens a theme file as Open does once its dialog has answered: after the
    // confirmation, with the same status texts.
    void OpenThemePath(const QString& path);
    // The same for a name as the system gives it, which need not be UTF-8.
    void OpenThemeFile(const std::string& path);
    // A file to open once the window is shown, before the first device scan.
    void SetStartupFile(const std::string& path) { startupFile_ = path; }
    void SetStartupFile(const QString& path) { startupFile_ = path.toStdString(); }

    // Edit menu: undo and redo of theme changes, colours through the clipboard.
    void mniUndoClick();
    void mniRedoClick();
    void mniCopyColorClick();
    void mniPasteColorClick();
    const ThemeHistory& History() const { return document_->History(); }
    const ThemeDocument& Document() const { return *document_; }
    // Writes the draft of an unsaved theme now instead of within the second.
    void WriteDraftNow();

    // Device connection and theme transfer.
    void DevConDeviceChange(THidDeviceController& Sender);
    bool DevConEnumerate(THidDevice& HidDev, int Idx);
    void DevConDeviceCreateError(THidDeviceController& Controller, const THidPnPInfo& PnPInfo, bool& Handled,
                                 bool& RetryCreate);
    void DevConDeviceData(THidDevice& HidDev, std::uint8_t ReportID, const std::uint8_t* Data, std::uint16_t Size);
    void tmrDataflashTimer();
    void mniDownloadClick();
    void mniUploadClick();
    const DeviceConversation& Conversation() const { return conversation_; }
    // Device scans handled so far, the start-up scan included.
    int DeviceScans() const { return deviceScans_; }

    // A failure stays until the next command that succeeds clears it.
    void SetStatusText(const QString& text, bool failure = false);
    // A file the editor keeps for itself (settings, the draft) could not be
    // written: said once per file and run, not at every change.
    void SayUserFileFailed(const QString& file);
    QString StatusText() const;
    // The Theme menu with its items; their shortcuts follow the menu.
    void SetThemeMenuEnabled(bool enabled);
    TLSDrawer* Drawer() { return drawer_.get(); }

protected:
    void showEvent(QShowEvent* event) override;
    // A fixed-size window is never maximised, whoever asks (a window
    // manager's menu or key may still offer it).
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void CreateDeviceLink(std::shared_ptr<HidBackend> backend);
    // What the device conversation told, shown; its deadline timer follows it.
    void ApplyDeviceOutcome(const DeviceConversation::Outcome& outcome);
    // A status of the connection itself, which a cleared failure goes back to.
    void SetDeviceStatus(const QString& text);
    void CreateMenus();
    int CurrentPage() const;
    bool SelectListItemByName(const std::string& name);

    void CreateEditMenu();
    // Edit > Generate Theme...: the dialog, then its theme as one step.
    void mniGenerateClick();
    // Where a dialog about the theme goes: beside the window, else the preview.
    DialogPlace PlaceBesidePreview() const;
    int SelectedSlotIndex() const;
    // What a document command did, shown: one place for every refresh.
    void ApplyOutcome(const DocumentOutcome& outcome);
    void UpdateEditActions();
    void FillRecentMenu();
    void OfferDraftRestore();

    void CreateInsightMenus();
    void WatchBlinkKey();
    void SetBlinking(bool held);
    void ApplyZoomLayout();
    // The largest factor up to the chosen one that fits, and the whole window
    // (frame included) moved onto its screen.
    void FitToScreen();
    // While the colour dialog is open: a candidate colour shown on the preview
    // and in the list, as the theme would store it, without entering the theme.
    void ShowCandidate(int slot, TColor color);
    // The legibility window's rows for the theme and display size as they are.
    void RefreshLegibility();
    void PlaceLegibilityWindow();
    // Mends the pair fg/bg, or every pair when none is named, as one step.
    void FixLegibilityPairs(std::optional<SlotId> fg, std::optional<SlotId> bg);
    QString ThemeName() const;
    void RefreshPreviewImage();
    void RebuildOverlay();
    // Asks under `title` where to, suggesting a name that ends in `what`.
    bool SaveImage(const Bitmap& image, const QString& title, const QString& what, bool zoomed = true);
    // Where an export goes first: the folder of the last one, else the theme's.
    QString ExportFolder() const;
    void CreateLibraryMenus();
    void RefreshCompare();
    // The compared theme's colours of the chosen rows (or all), as one step.
    void TakeColours(bool all);

    // Bitmap pixel of a client position, false outside the bitmap.
    bool ToBitmap(int clientX, int clientY, int& x, int& y) const;

    std::unique_ptr<EditorDialogs> dialogs_;
    int zoom_ = 1;
    // The factor the user chose, which a small screen may not allow.
    int chosenZoom_ = 1;
    bool showingCandidate_ = false;
    // The theme held beside the document; shown on the preview while the
    // backslash key is down.
    TThemeColorTable compared_{};
    std::unique_ptr<TLSDrawer> compareDrawer_;
    QString comparedFile_;
    bool showingCompared_ = false;
    QString lastExportFolder_;
    // The recovery question waits until the window is on the screen.
    bool offerDraftOnExpose_ = false;
    ColorVision vision_ = ColorVision::Normal;
    // The preview as shown (simulated when asked), and what is drawn over it:
    // the outline of the hovered slot, the blink of the selected one.
    QImage shownImage_;
    QImage overlay_;
    int hoverSlot_ = -1;
    bool blinkOn_ = false;
    QTimer* blinkTimer_ = nullptr;
    class QDialog* legibility_ = nullptr;
    std::unique_ptr<ThemeDocument> document_;
    DeviceConversation conversation_;
    QTimer* tmrReply_ = nullptr;
    std::uint32_t timedExchange_ = 0;
    QString connectionStatus_ = QStringLiteral("Disconnected");
    bool statusIsFailure_ = false;
    // While the start-up file's outcome is shown, the first scan keeps it.
    bool holdStartupStatus_ = false;
    int deviceScans_ = 0;
    QStringList failedUserFiles_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<DraftStore> drafts_;
    QTimer* draftTimer_ = nullptr;
    std::string startupFile_;
    std::unique_ptr<TLSDrawer> drawer_;
    std::unique_ptr<TSlotCatalogue> catalogue_;
    QString lastOpenFile_;
    QString lastSaveFile_;
    bool shown_ = false;
};
