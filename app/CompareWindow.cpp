#include "CompareWindow.h"

#include "BitmapImage.h"
#include "ColorText.h"
#include "FilePaths.h"
#include "PreviewPanel.h"
#include "Unit1.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QIcon Swatch(TColor c)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    p.fillRect(1, 1, 14, 14, ToQColor(c));
    return QIcon(pixmap);
}

}  // namespace

CompareWindow::CompareWindow(TfrmMain& form, EditorSession& session) : QDialog(&form), form_(form), session_(session)
{
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    auto* rows = new QTreeWidget(this);
    rows->setObjectName(QStringLiteral("differences"));
    rows->setHeaderLabels({QStringLiteral("Slot"), QStringLiteral("This theme"), QStringLiteral("Other theme")});
    rows->setRootIsDecorated(false);
    rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* buttons = new QDialogButtonBox(this);
    auto* take = buttons->addButton(QStringLiteral("&Take"), QDialogButtonBox::ActionRole);
    take->setObjectName(QStringLiteral("take"));
    auto* takeAll = buttons->addButton(QStringLiteral("Take &All"), QDialogButtonBox::ActionRole);
    takeAll->setObjectName(QStringLiteral("takeAll"));
    buttons->addButton(QDialogButtonBox::Close);
    connect(take, &QPushButton::clicked, this, [this] { Take(false); });
    connect(takeAll, &QPushButton::clicked, this, [this] { Take(true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(hint);
    layout->addWidget(rows);
    layout->addWidget(buttons);
    resize(520, 420);
}

void CompareWindow::ShowFile()
{
    const QString name = ShownPath(QFileInfo(FromPath(session_.ComparedFile())).fileName());
    setWindowTitle(QStringLiteral("Compare With %1").arg(name));
    findChild<QLabel*>(QStringLiteral("hint"))->setText(QStringLiteral("Hold the \\ key to see %1 on the preview.").arg(name));
    Refresh();
    if (!isVisible()) {
        PlaceBeside(*this, form_.preview->Beside());
        show();
    }
    raise();
}

void CompareWindow::Refresh()
{
    auto* rows = findChild<QTreeWidget*>(QStringLiteral("differences"));
    rows->clear();
    for (const ComparedSlot& d : session_.Differences()) {
        auto* row = new QTreeWidgetItem(rows, {QString::fromStdString(session_.AnyListName(d.slot)),
                                               QString::fromStdString(ColorToHexText(d.mine)),
                                               QString::fromStdString(ColorToHexText(d.other))});
        row->setIcon(1, Swatch(d.mine));
        row->setIcon(2, Swatch(d.other));
        row->setData(0, Qt::UserRole, static_cast<int>(d.slot));
        row->setToolTip(0, QString::fromLatin1(SlotKey(d.slot)) + (d.locked ? QStringLiteral(" (locked)") : QString()));
    }
    for (int c = 0; c < rows->columnCount(); ++c)
        rows->resizeColumnToContents(c);
}

void CompareWindow::Take(bool all)
{
    if (all) {
        form_.ApplyOutcome(session_.TakeAll());
        return;
    }
    auto* rows = findChild<QTreeWidget*>(QStringLiteral("differences"));
    std::vector<SlotId> chosen;
    for (int r = 0; r < rows->topLevelItemCount(); ++r)
        if (rows->topLevelItem(r)->isSelected())
            chosen.push_back(static_cast<SlotId>(rows->topLevelItem(r)->data(0, Qt::UserRole).toInt()));
    form_.ApplyOutcome(session_.Take(chosen));
}
