#include "ThemeBrowser.h"

#include "PageImage.h"
#include "ThemeThumbnail.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QThreadPool>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

QImage ToQImage(const Bitmap& b);

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int TimeRole = Qt::UserRole + 1;

}  // namespace

ThemeBrowser::ThemeBrowser(QWidget* parent, std::function<void(const QString&)> open,
                           std::function<QString(const QString&)> pickFolder)
    : QDialog(parent), open_(std::move(open)), pickFolder_(std::move(pickFolder)), pool_(std::make_unique<QThreadPool>())
{
    setWindowTitle(QStringLiteral("Browse Themes"));
    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("folder"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* change = new QPushButton(QStringLiteral("&Folder..."), this);
    connect(change, &QPushButton::clicked, this, [this] {
        const QString chosen = pickFolder_(folder_);
        if (!chosen.isEmpty())
            Show(chosen, page_, small_, clock_);
    });
    filter = new QLineEdit(this);
    filter->setPlaceholderText(QStringLiteral("Filter by name"));
    filter->setClearButtonEnabled(true);
    connect(filter, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
    sort = new QComboBox(this);
    sort->addItems({QStringLiteral("By name"), QStringLiteral("Newest first")});
    connect(sort, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { Sort(); });
    list = new QListWidget(this);
    list->setViewMode(QListView::IconMode);
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    list->setUniformItemSizes(true);
    list->setSpacing(6);
    list->setWordWrap(true);
    list->installEventFilter(this);
    connect(list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { open_(item->data(PathRole).toString()); });
    watcher_ = new QFileSystemWatcher(this);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Rescan(); });
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { Rescan(); });

    auto* top = new QHBoxLayout;
    top->addWidget(folderLabel_, 1);
    top->addWidget(change);
    auto* tools = new QHBoxLayout;
    tools->addWidget(filter, 1);
    tools->addWidget(sort);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(tools);
    all->addWidget(list, 1);
    resize(820, 620);
}

ThemeBrowser::~ThemeBrowser()
{
    // No drawing may outlive the window it reports to.
    pool_->clear();
    pool_->waitForDone();
}

void ThemeBrowser::Show(const QString& folder, int page, bool smallDisplay, const ClockSource& clock)
{
    folder_ = QDir(folder).absolutePath();
    page_ = page;
    small_ = smallDisplay;
    clock_ = clock;
    folderLabel_->setText(QDir::toNativeSeparators(folder_));
    const QSize icon = small_ ? QSize(80, 160) : QSize(240, 320);
    list->setIconSize(icon);
    // Room for the picture and three lines under it: a name, and why a file
    // is no theme.
    list->setGridSize(QSize(std::max(icon.width() + 24, 200), icon.height() + 3 * fontMetrics().height() + 16));
    Rescan();
    show();
}

void ThemeBrowser::Rescan()
{
    ++generation_;
    pending_ = 0;
    items_.clear();
    list->clear();
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    QDir dir(folder_);
    watcher_->addPath(folder_);
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.lsth")}, QDir::Files | QDir::Hidden, QDir::Name);
    const qreal ratio = devicePixelRatioF();
    for (const QFileInfo& info : files) {
        const QString path = info.absoluteFilePath();
        watcher_->addPath(path);
        auto* item = new QListWidgetItem(info.completeBaseName(), list);
        item->setData(PathRole, path);
        item->setData(TimeRole, info.lastModified());
        item->setToolTip(QDir::toNativeSeparators(path));
        items_.insert(path, item);
        item->setIcon(Blank());
        const Key key{path, info.size(), info.lastModified(), page_, small_};
        if (const auto cached = cache_.constFind(key); cached != cache_.constEnd()) {
            Place(item, *cached);
            continue;
        }
        ++pending_;
        const int generation = generation_;
        const std::string file = QFile::encodeName(path).toStdString();
        pool_->start([this, key, file, generation, ratio, page = page_, small = small_, clock = clock_] {
            const ThemeThumbnail thumbnail = RenderThemeThumbnail(file, page, small, clock);
            Entry entry;
            if (thumbnail.isTheme) {
                // On whole device pixels, as the preview is at a whole scale.
                entry.picture = ToQImage(Enlarged(thumbnail.screen, std::max(1, int(std::ceil(ratio)))));
                entry.picture.setDevicePixelRatio(std::max(1, int(std::ceil(ratio))));
            } else {
                entry.reason = QString::fromStdString(thumbnail.reason);
            }
            QMetaObject::invokeMethod(
                this,
                [this, key, entry, generation] {
                    cache_.insert(key, entry);
                    if (generation != generation_)
                        return;
                    --pending_;
                    if (QListWidgetItem* item = items_.value(key.path))
                        Place(item, entry);
                },
                Qt::QueuedConnection);
        });
    }
    ApplyFilter();
    Sort();
}

QIcon ThemeBrowser::Blank() const
{
    QPixmap none(list->iconSize() * devicePixelRatioF());
    none.setDevicePixelRatio(devicePixelRatioF());
    none.fill(palette().color(QPalette::Mid));
    return QIcon(none);
}

void ThemeBrowser::Place(QListWidgetItem* item, const Entry& entry)
{
    if (!entry.picture.isNull()) {
        item->setIcon(QIcon(QPixmap::fromImage(entry.picture)));
        return;
    }
    item->setText(QFileInfo(item->data(PathRole).toString()).completeBaseName() + QStringLiteral("\nnot a theme: ") +
                  entry.reason);
    item->setToolTip(item->toolTip() + QStringLiteral("\n") + entry.reason);
}

void ThemeBrowser::ApplyFilter()
{
    const QString text = filter->text().trimmed();
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        const QString name = QFileInfo(item->data(PathRole).toString()).completeBaseName();
        item->setHidden(!text.isEmpty() && !name.contains(text, Qt::CaseInsensitive));
    }
}

void ThemeBrowser::Sort()
{
    std::vector<QListWidgetItem*> items;
    while (list->count())
        items.push_back(list->takeItem(0));
    const bool byDate = sort->currentIndex() == 1;
    std::stable_sort(items.begin(), items.end(), [byDate](QListWidgetItem* a, QListWidgetItem* b) {
        if (byDate)
            return a->data(TimeRole).toDateTime() > b->data(TimeRole).toDateTime();
        return QString::localeAwareCompare(QFileInfo(a->data(PathRole).toString()).fileName(),
                                           QFileInfo(b->data(PathRole).toString()).fileName()) < 0;
    });
    for (QListWidgetItem* item : items)
        list->addItem(item);
}

void ThemeBrowser::ShowLarge(QListWidgetItem* item)
{
    if (!item || item->icon().isNull())
        return;
    QDialog large(this);
    large.setWindowTitle(item->text().section(QLatin1Char('\n'), 0, 0));
    auto* picture = new QLabel(&large);
    // Twice the size, each pixel a square of four.
    const qreal ratio = devicePixelRatioF();
    QPixmap twice = item->icon().pixmap(list->iconSize(), ratio).scaled(list->iconSize() * 2 * ratio, Qt::KeepAspectRatio,
                                                                         Qt::FastTransformation);
    twice.setDevicePixelRatio(ratio);
    picture->setPixmap(twice);
    auto* layout = new QVBoxLayout(&large);
    layout->addWidget(picture);
    large.exec();
}

bool ThemeBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        ShowLarge(list->currentItem());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
