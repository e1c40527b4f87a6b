#pragma once
// The main window: the page list, the colour list, the colour button, the
// preview panel drawn on the window's own surface, the menus and the status
// bar. Each user action or device event is one handler named after its
// control and event; what it decides, the editor session decides, and the
// window shows what the session says changed.

#include "EditorDialogs.h"
#include "EditorSession.h"
#include "HidControllerClass.h"
#include "SwatchButton.h"

#include <QMainWindow>
#include <QString>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPainter;
class QPlainTextEdit;
class QStatusBar;
class QTimer;
class ClaimedDevice;
class ClientSurface;
class CompareWindow;
class DraftKeeper;
class LegibilityWindow;
class PreviewPanel;
class RecentFiles;
class StatusLine;
class ThemeBrowser;
class ThemeExchange;

// The pixel size of a font of `points` at 96 dpi, the resolution the fixed
// layout is drawn for.
int PointsAt96Dpi(double points);

class TfrmMain : public QMainWindow {
public:
    // Without a backend the window uses the simulated device when
    // LARKSPUR_HID_SIMULATOR is set, else udev/hidraw.
    explicit TfrmMain(std::unique_ptr<EditorDialogs> questions = std::make_unique<QtEditorDialogs>(),
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
    QTimer* tmrReply = nullptr;
    THidDeviceController* DevCon = nullptr;

    QMenu* mniFile = nullptr;
    QAction* mniNew = nullptr;
    QAction* mniOpen = nullptr;
    QAction* mniSave = nullptr;
    QAction* mniSaveAs = nullptr;
    QAction* mniExit = nullptr;
    QMenu* mniRecent = nullptr;
    QAction* mniClearRecent = nullptr;
    QAction* mniBrowse = nullptr;
    QAction* mniImportPalette = nullptr;
    QAction* mniExportPalette = nullptr;
    QAction* mniExportCard = nullptr;
    QAction* mniCompare = nullptr;
    QAction* mniExportImage = nullptr;
    QAction* mniExportAll = nullptr;
    QMenu* mniEdit = nullptr;
    QAction* mniUndo = nullptr;
    QAction* mniRedo = nullptr;
    QAction* mniCopyColor = nullptr;
    QAction* mniPasteColor = nullptr;
    QAction* mniLockColor = nullptr;
    QAction* mniGenerate = nullptr;
    QMenu* mniDisplay = nullptr;
    QAction* mniDispLarge = nullptr;
    QAction* mniDispSmall = nullptr;
    QAction* mniZoomIn = nullptr;
    QAction* mniZoomOut = nullptr;
    QAction* mniActualSize = nullptr;
    QMenu* mniSimulate = nullptr;
    QAction* mniCheckLegibility = nullptr;
    QMenu* mniTheme = nullptr;
    QAction* mniDownload = nullptr;
    QAction* mniUpload = nullptr;

    // Panels and windows of their own.
    std::unique_ptr<StatusLine> status;
    PreviewPanel* preview = nullptr;
    LegibilityWindow* legibility = nullptr;
    CompareWindow* compareWindow = nullptr;
    ThemeExchange* exchange = nullptr;
    DraftKeeper* drafts = nullptr;
    // File > Browse Themes, made when first asked for.
    ThemeBrowser* browser = nullptr;

    EditorSession& Session() { return *session_; }
    // The questions the window asks, the files it opened lately, and the
    // device the commands go to.
    std::unique_ptr<EditorDialogs> dialogs;
    std::unique_ptr<RecentFiles> recent;
    std::unique_ptr<ClaimedDevice> claimed;
    // The list row under the pointer, -1 for none.
    int hoveredItem = -1;
    // Device scans handled so far, the start-up scan included.
    int deviceScans = 0;

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
    // Selects the row of that name (letter case aside); none when there is none.
    bool SelectListRow(const std::string& name);

    // Colour editing.
    void UpdateColorButton();
    void btnColorClick();
    void FormDblClick();

    // The preview on the window's surface, and the display size.
    void FormPaint(QPainter& painter);
    // The pointer over the window's surface, in client pixels; Leave when it goes.
    void FormMouseMove(double x, double y, const QPoint& globalPos);
    void FormMouseLeave();
    void FormMouseDown(Qt::MouseButton button, double x, double y);
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
    // confirmation, with the same status texts. The name as the system gives
    // it, which need not be UTF-8.
    void OpenThemeFile(const std::string& path);

    // Edit menu.
    void mniUndoClick();
    void mniRedoClick();
    void mniCopyColorClick();
    void mniPasteColorClick();
    void mniLockColorClick();
    // Edit > Generate Theme...: the dialog, then its theme as one step.
    void mniGenerateClick();

    // Device connection and theme transfer.
    void DevConDeviceChange(THidDeviceController& Sender);
    bool DevConEnumerate(THidDevice& HidDev, int Idx);
    void DevConDeviceCreateError(THidDeviceController& Controller, const THidPnPInfo& PnPInfo, bool& Handled,
                                 bool& RetryCreate);
    void DevConDeviceData(THidDevice& HidDev, std::uint8_t ReportID, const std::uint8_t* Data, std::uint16_t Size);
    void tmrDataflashTimer();
    void mniDownloadClick();
    void mniUploadClick();

    // What a command did, shown: one place for every refresh.
    void ApplyOutcome(const DocumentOutcome& outcome);
    // What the device link asks, shown; its deadline timer follows it.
    void ApplyDeviceStep(const DeviceStep& step);

protected:
    void showEvent(QShowEvent* event) override;
    // A fixed-size window is never maximised, whoever asks (a window
    // manager's menu or key may still offer it).
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void UpdateEditActions();

    std::unique_ptr<EditorSession> session_;
    // The recovery question waits until the window is on the screen.
    bool offerDraftOnExpose_ = false;
    bool shown_ = false;
};
