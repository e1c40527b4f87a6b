#pragma once
// The preview on the main window's surface: the drawer's pixels (simulated or
// compared when asked) at the zoom the screen allows, the outline of the slot
// under the pointer with its tooltip, and the selected slot blinking while F3
// is held. The session decides what is shown; this draws it.

#include "EditorDialogs.h"
#include "EditorSession.h"
#include "PreviewPlacement.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QTransform>
#include <optional>

class QPainter;
class QTimer;
class TfrmMain;

class PreviewPanel : public QObject {
public:
    PreviewPanel(TfrmMain& form, EditorSession& session);

    void Paint(QPainter& painter);
    // The pointer at a client position; none outside the preview.
    void Hover(double clientX, double clientY, const QPoint& globalPos);
    void Leave();
    // The slot whose pixels are outlined.
    std::optional<SlotId> Hovered() const { return hovered_; }
    int HoveredSlot() const { return hovered_ ? SlotIndex(*hovered_) : -1; }
    void SetBlinking(bool held);
    // The session drew anew: the outline and the blink follow.
    void Refresh();
    // The preview pixel of a client position; false outside the preview.
    bool ToBitmap(double clientX, double clientY, int& x, int& y) const;

    // Zoom 1..4; the window follows and stays on its screen. A factor larger
    // than the screen has room for is refused.
    void SetZoom(int factor);
    bool ZoomFits(int factor) const;
    // The largest factor up to the chosen one that fits, and the whole window
    // (frame included) moved onto its screen.
    void FitToScreen();
    // The controls placed for the zoom shown.
    void ApplyLayout();
    void SetVision(ColorVision vision);
    // Where a window about the theme goes: beside the editor, else the preview.
    DialogPlace Beside() const;

private:
    ZoomRoom Room() const;
    // Where the preview's pixels are on the surface's device, at the zoom shown.
    PreviewPlacement Placement() const;

    TfrmMain& form_;
    EditorSession& session_;
    std::optional<SlotId> hovered_;
    bool blinkOn_ = false;
    QTimer* blinkTimer_ = nullptr;
    QImage overlay_;
    // The surface's logical pixels to its device's, as last painted.
    QTransform toDevice_;
};
