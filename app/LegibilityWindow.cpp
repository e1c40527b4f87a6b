#include "LegibilityWindow.h"

#include "ClientSurface.h"
#include "Unit1.h"
#include "WindowLayout.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

LegibilityWindow::LegibilityWindow(TfrmMain& form, EditorSession& session)
    : QDialog(&form), form_(form), session_(session)
{
    setWindowTitle(QStringLiteral("Check Legibility"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    // Wrapped, so the window can be narrower than the sentence.
    summary->setWordWrap(true);
    auto* rows = new QTreeWidget(this);
    rows->setObjectName(QStringLiteral("pairs"));
    rows->setRootIsDecorated(false);
    rows->setHeaderLabels({QStringLiteral("Contrast"), QStringLiteral("Needs"), QStringLiteral("Page"),
                           QStringLiteral("Text"), QStringLiteral("Background")});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Mends: the chosen pair, or every one; each is one step to undo.
    QPushButton* fix = buttons->addButton(QStringLiteral("Fix"), QDialogButtonBox::ActionRole);
    fix->setObjectName(QStringLiteral("fix"));
    QPushButton* fixAll = buttons->addButton(QStringLiteral("Fix All"), QDialogButtonBox::ActionRole);
    fixAll->setObjectName(QStringLiteral("fixAll"));
    // Why a pair could not be mended, whole, however narrow the window.
    auto* reason = new QLabel(this);
    reason->setObjectName(QStringLiteral("reason"));
    reason->setWordWrap(true);
    reason->hide();
    const auto mend = [this, reason](std::optional<SlotId> fg, std::optional<SlotId> bg) {
        const DocumentOutcome outcome = session_.FixLegibility(fg, bg);
        form_.ApplyOutcome(outcome);
        reason->setText(outcome.failed && outcome.status ? QString::fromStdString(*outcome.status) : QString());
        reason->setVisible(!reason->text().isEmpty());
    };
    connect(fix, &QPushButton::clicked, this, [rows, mend] {
        if (const QTreeWidgetItem* item = rows->currentItem())
            mend(static_cast<SlotId>(item->data(3, Qt::UserRole).toInt()), static_cast<SlotId>(item->data(4, Qt::UserRole).toInt()));
    });
    connect(fixAll, &QPushButton::clicked, this, [mend] { mend(std::nullopt, std::nullopt); });
    connect(rows, &QTreeWidget::currentItemChanged, fix, [fix](QTreeWidgetItem* item) { fix->setEnabled(item); });
    fix->setEnabled(false);
    layout->addWidget(summary);
    layout->addWidget(rows);
    layout->addWidget(reason);
    layout->addWidget(buttons);
    resize(620, 360);
    connect(rows, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        // Read first: the rows are made anew as the page changes.
        const int page = item->data(0, Qt::UserRole).toInt();
        const std::string text = item->text(3).toStdString();
        form_.cmbLayout->setCurrentIndex(page);
        form_.cmbLayoutClick();
        if (form_.SelectListRow(text))
            form_.lstColorsClick();
    });
}

void LegibilityWindow::Open()
{
    // Placed before it is shown, so the window manager frames it there.
    if (!isVisible()) {
        const QRect preview(form_.surface->mapToGlobal(QPoint(0, 0)),
                            QSize(PreviewX + PreviewWidth * session_.Zoom() + 2, form_.surface->height()));
        // On a small screen it gets narrower (or lower) rather than cover the
        // window, or at least the preview.
        resize(SizeForRoomBeside(form_, QSize(620, 360), QSize(320, 160), {OuterFrame(form_), preview}));
        PlaceBeside(*this, {OuterFrame(form_), preview});
    }
    show();
    Refresh();
    raise();
    activateWindow();
}

void LegibilityWindow::Refresh()
{
    if (!isVisible())
        return;
    auto* rows = findChild<QTreeWidget*>(QStringLiteral("pairs"));
    // The row the user is on stays chosen when it is still there.
    const QTreeWidgetItem* current = rows->currentItem();
    const QStringList kept = current ? QStringList{current->text(2), current->text(3), current->text(4)} : QStringList();
    rows->clear();
    const auto failing = session_.FailingPairs();
    const bool small = session_.SmallDisplay();
    const auto name = [small](int page, SlotId slot) { return QString::fromLatin1(ListNameOrKey(page, small, slot)); };
    for (const LegibilityPair& p : failing) {
        auto* item = new QTreeWidgetItem(rows, {QString::asprintf("%.2f:1", p.ratio), QString::asprintf("%.1f:1", p.required),
                                                QString::fromLatin1(PageNames[p.page]), name(p.page, p.fg),
                                                name(p.page, p.bg)});
        item->setData(0, Qt::UserRole, p.page);
        item->setData(3, Qt::UserRole, static_cast<int>(p.fg));
        item->setData(4, Qt::UserRole, static_cast<int>(p.bg));
        if (QStringList{item->text(2), item->text(3), item->text(4)} == kept)
            rows->setCurrentItem(item);
    }
    for (int c = 0; c < rows->columnCount(); ++c)
        rows->resizeColumnToContents(c);
    findChild<QPushButton*>(QStringLiteral("fixAll"))->setEnabled(!failing.empty());
    const QString count = failing.size() == 1 ? QStringLiteral("1 pair is")
                                              : QStringLiteral("%1 pairs are").arg(failing.size());
    findChild<QLabel*>(QStringLiteral("summary"))
        ->setText(failing.empty() ? QStringLiteral("Every text, digit and icon is legible at this display size.")
                                  : count + QStringLiteral(" hard to read at this display size (double-click one to show it):"));
}
