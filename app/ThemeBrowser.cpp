#include "ThemeBrowser.h"

#include "BitmapImage.h"
#include "CompactPicture.h"
#include "FilePaths.h"
#include "SlotCatalogue.h"
#include "ThemeThumbnail.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int NameRole = Qt::UserRole + 1;
const QString ThemeExtension = QStringLiteral(".lsth");
// The most one turn of listing or taking pictures may hold the window up,
// well inside a frame of the screen.
constexpr qint64 TurnNs = 3'000'000;

int WholeFactor(qreal ratio) { return std::max(1, int(std::ceil(ratio))); }

// Paints each item's picture over its blank from the browser's own store: a
// picture that arrives repaints its item, where a new icon in the model
// would lay all the items out again, each time.
class PictureDelegate : public QStyledItemDelegate {
public:
    PictureDelegate(QObject* parent, std::function<const QImage*(const QString& path, int factor)> picture)
        : QStyledItemDelegate(parent), picture_(std::move(picture))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QImage* picture =
            picture_(index.data(PathRole).toString(), WholeFactor(painter->device()->devicePixelRatioF()));
        if (!picture)
            return;
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        const QRect blank = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, option.widget);
        painter->drawImage(QRect(blank.topLeft(), item.decorationSize), *picture);
    }

private:
    std::function<const QImage*(const QString&, int)> picture_;
};

// The folder's path, its start left out when the window is narrower than
// the path, so the folder's own name stays in view; the whole path is its
// tooltip.
class FolderLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override
    {
        return {fontMetrics().horizontalAdvance(QStringLiteral("\u2026/folder")), QLabel::minimumSizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QRect room = contentsRect();
        painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideLeft, room.width()));
    }
};

}  // namespace

ThemeBrowser::ThemeBrowser(QWidget* parent, std::function<void(const QString&)> open,
                           std::function<void(const QString&)> compare, std::function<QString(const QString&)> pickFolder)
    : QDialog(parent), open_(std::move(open)), compare_(std::move(compare)), pickFolder_(std::move(pickFolder)),
      pool_(std::make_unique<QThreadPool>()), cache_(256 * 1024), onScreen_(64 * 1024)
{
    // One core is left to the window, so it answers while pictures are drawn.
    pool_->setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
    setWindowTitle(QStringLiteral("Browse Themes"));
    folderLabel_ = new FolderLabel(this);
    folderLabel_->setObjectName(QStringLiteral("folder"));
    auto* change = new QPushButton(QStringLiteral("&Folder..."), this);
    // No button is the default: Enter in the list opens the chosen theme, and
    // nothing else.
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, [this] {
        const QString chosen = pickFolder_(folder_);
        if (!chosen.isEmpty())
            Show(chosen, page_, small_, clock_);
    });
    filter = new QLineEdit(this);
    filter->setPlaceholderText(QStringLiteral("Filter by name"));
    filter->setClearButtonEnabled(true);
    connect(filter, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
    pageChooser = new QComboBox(this);
    for (const char* name : PageNames)
        pageChooser->addItem(QString::fromLatin1(name));
    connect(pageChooser, qOverload<int>(&QComboBox::activated), this, [this](int chosen) { Show(folder_, chosen, small_, clock_); });
    sort = new QComboBox(this);
    sort->addItems({QStringLiteral("By name"), QStringLiteral("Newest first")});
    // A new look at the folder in the order chosen: the pictures drawn are kept.
    connect(sort, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { Rescan(); });
    list = new QListWidget(this);
    list->setViewMode(QListView::IconMode);
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    list->setUniformItemSizes(true);
    // Laid out a few dozen at a time between events, not all at once.
    list->setLayoutMode(QListView::Batched);
    list->setBatchSize(40);
    list->setSpacing(6);
    list->setWordWrap(true);
    list->installEventFilter(this);
    list->setItemDelegate(
        new PictureDelegate(list, [this](const QString& path, int factor) { return OnScreen(path, factor); }));
    connect(list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { open_(item->data(PathRole).toString()); });
    add_ = new QTimer(this);
    add_->setSingleShot(true);
    add_->setInterval(0);
    connect(add_, &QTimer::timeout, this, [this] { AddSome(); });
    take_ = new QTimer(this);
    take_->setInterval(10);
    connect(take_, &QTimer::timeout, this, [this] { TakeDrawn(); });
    watcher_ = new QFileSystemWatcher(this);
    // A save is a burst of changes (a new file, a rename): one look after it.
    auto* settle = new QTimer(this);
    settle->setSingleShot(true);
    settle->setInterval(150);
    connect(settle, &QTimer::timeout, this, [this] { Refresh(); });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle, qOverload<>(&QTimer::start));

    auto* compareButton = new QPushButton(QStringLiteral("&Compare With"), this);
    compareButton->setAutoDefault(false);
    compareButton->setToolTip(QStringLiteral("Hold the chosen theme beside the one being edited"));
    connect(compareButton, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem* item = list->currentItem())
            compare_(item->data(PathRole).toString());
    });
    auto* top = new QHBoxLayout;
    top->addWidget(folderLabel_, 1);
    top->addWidget(compareButton);
    top->addWidget(change);
    auto* tools = new QHBoxLayout;
    tools->addWidget(filter, 1);
    tools->addWidget(pageChooser);
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
    page_ = std::clamp(page, 0, PageCount - 1);
    pageChooser->setCurrentIndex(page_);
    small_ = smallDisplay;
    clock_ = clock;
    folderLabel_->setText(QDir::toNativeSeparators(folder_));
    folderLabel_->setToolTip(folderLabel_->text());
    const QSize icon = small_ ? QSize(80, 160) : QSize(240, 320);
    list->setIconSize(icon);
    // Room for the picture and three lines under it: a name, and why a file
    // is no theme.
    list->setGridSize(QSize(std::max(icon.width() + 24, 200), icon.height() + 3 * fontMetrics().height() + 16));
    Rescan();
    show();
}

std::vector<ThemeBrowser::Listed> ThemeBrowser::ListThemes() const
{
    std::vector<FolderEntry> entries;
    ListFolder(Path(folder_), ThemeExtension.toStdString(), entries);
    std::vector<Listed> listed;
    listed.reserve(entries.size());
    for (const FolderEntry& entry : entries) {
        const QString name = FromPath(entry.name);
        listed.push_back({folder_ + QLatin1Char('/') + name, ShownPath(name.chopped(ThemeExtension.size())),
                          qint64(entry.size), qint64(entry.modified)});
    }
    const bool byDate = sort->currentIndex() == 1;
    std::stable_sort(listed.begin(), listed.end(), [byDate](const Listed& a, const Listed& b) {
        return byDate ? a.modified > b.modified : QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return listed;
}

void ThemeBrowser::Rescan()
{
    // The chosen theme stays chosen across a new look at the folder.
    if (toAdd_.empty())
        current_ = list->currentItem() ? list->currentItem()->data(PathRole).toString() : QString();
    ++generation_;
    pending_ = 0;
    items_.clear();
    drawnAs_.clear();
    shown_.clear();
    onScreen_.clear();
    list->clear();
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    // The folder for files that come and go or are replaced; each file, as
    // it is listed, for one rewritten in place.
    watcher_->addPath(folder_);
    toAdd_ = ListThemes();
    added_ = 0;
    blank_ = Blank();
    AddSome();
}

void ThemeBrowser::Refresh()
{
    if (!toAdd_.empty()) {
        Rescan();
        return;
    }
    const std::vector<Listed> now = ListThemes();
    bool sameFiles = int(now.size()) == items_.size();
    for (std::size_t i = 0; sameFiles && i < now.size(); ++i)
        sameFiles = items_.contains(now[i].path);
    if (!sameFiles) {
        Rescan();
        return;
    }
    const bool byDate = sort->currentIndex() == 1;
    for (const Listed& file : now) {
        const auto was = drawnAs_.constFind(file.path);
        if (was != drawnAs_.constEnd() && was->size == file.size && was->modified == file.modified)
            continue;
        QListWidgetItem* item = items_.value(file.path);
        // Newest first: a rewritten file is the newest.
        if (byDate && list->row(item) != 0) {
            const bool chosen = list->currentItem() == item;
            list->insertItem(0, list->takeItem(list->row(item)));
            if (chosen)
                list->setCurrentItem(item);
        }
        Draw(item, file);
    }
}

void ThemeBrowser::AddSome()
{
    // A few milliseconds' worth of items a turn, so a large folder never
    // holds the window up.
    QElapsedTimer budget;
    budget.start();
    for (; added_ < toAdd_.size() && budget.nsecsElapsed() < TurnNs; ++added_) {
        const Listed& file = toAdd_[added_];
        auto* item = new QListWidgetItem(blank_, file.name, list);
        item->setData(PathRole, file.path);
        item->setData(NameRole, file.name);
        item->setToolTip(ShownPath(QDir::toNativeSeparators(file.path)));
        items_.insert(file.path, item);
        watcher_->addPath(file.path);
        item->setHidden(!Passes(file.name));
        if (file.path == current_)
            list->setCurrentItem(item);
        Draw(item, file);
    }
    if (pending_)
        take_->start();
    if (added_ < toAdd_.size()) {
        add_->start();
        return;
    }
    toAdd_.clear();
    added_ = 0;
}

void ThemeBrowser::Draw(QListWidgetItem* item, const Listed& file)
{
    const Key key{file.path, file.size, file.modified, page_, small_};
    drawnAs_.insert(file.path, key);
    if (const Entry* cached = cache_.object(key)) {
        Place(item, *cached);
        return;
    }
    ++pending_;
    take_->start();
    const int generation = generation_;
    pool_->start([this, key, file = Path(file.path), generation, page = page_, small = small_, clock = clock_] {
        const ThemeThumbnail thumbnail = RenderThemeThumbnail(file, page, small, clock);
        Drawn drawn{key, {}, generation};
        if (thumbnail.isTheme)
            drawn.entry.picture = CompactPicture(thumbnail.screen);
        else
            drawn.entry.reason = QString::fromStdString(thumbnail.reason);
        const std::lock_guard<std::mutex> hold(drawnLock_);
        drawn_.push_back(std::move(drawn));
    });
}

void ThemeBrowser::TakeDrawn()
{
    QElapsedTimer budget;
    budget.start();
    std::vector<Drawn> batch;
    {
        const std::lock_guard<std::mutex> hold(drawnLock_);
        batch.swap(drawn_);
    }
    std::size_t i = 0;
    for (; i < batch.size() && budget.nsecsElapsed() < TurnNs; ++i) {
        const Drawn& d = batch[i];
        cache_.insert(d.key, new Entry(d.entry), std::max<int>(1, int(d.entry.picture.sizeInBytes() / 1024)));
        if (d.generation != generation_)
            continue;
        --pending_;
        // Only the picture of the file as last listed: one drawn for an
        // earlier state of a file rewritten meanwhile is kept, not shown.
        QListWidgetItem* item = items_.value(d.key.path);
        if (item && drawnAs_.value(d.key.path) == d.key)
            Place(item, d.entry);
    }
    if (i < batch.size()) {
        // The rest on the next turn, ahead of what is drawn meanwhile.
        const std::lock_guard<std::mutex> hold(drawnLock_);
        drawn_.insert(drawn_.begin(), std::make_move_iterator(batch.begin() + long(i)),
                      std::make_move_iterator(batch.end()));
    }
    if (pending_ <= 0)
        take_->stop();
}

int ThemeBrowser::Factor() const { return WholeFactor(devicePixelRatioF()); }

const QImage* ThemeBrowser::OnScreen(const QString& path, int factor) const
{
    if (const QImage* ready = onScreen_.object(path); ready && int(ready->devicePixelRatio()) == factor)
        return ready;
    const auto picture = shown_.constFind(path);
    if (picture == shown_.constEnd())
        return nullptr;
    auto* enlarged = new QImage(DevicePicture(*picture, factor));
    const int cost = int(enlarged->sizeInBytes() / 1024);
    onScreen_.insert(path, enlarged, cost);
    return onScreen_.object(path);
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
    // A file drawn again may have become a theme, or stopped being one.
    const QString path = item->data(PathRole).toString();
    const QString where = ShownPath(QDir::toNativeSeparators(path));
    onScreen_.remove(path);
    if (!entry.picture.isNull()) {
        shown_.insert(path, entry.picture);
        item->setText(item->data(NameRole).toString());
        item->setToolTip(where);
        list->viewport()->update(list->visualItemRect(item));
        return;
    }
    // The reason may be cut short under the picture: the tooltip has it whole.
    shown_.remove(path);
    item->setText(item->data(NameRole).toString() + QStringLiteral("\nnot a theme: ") + entry.reason);
    item->setToolTip(where + QStringLiteral("\nnot a theme: ") + entry.reason);
    list->viewport()->update(list->visualItemRect(item));
}

bool ThemeBrowser::Passes(const QString& name) const
{
    const QString text = filter->text().trimmed();
    return text.isEmpty() || name.contains(text, Qt::CaseInsensitive);
}

void ThemeBrowser::ApplyFilter()
{
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        item->setHidden(!Passes(item->data(NameRole).toString()));
    }
}

void ThemeBrowser::ShowLarge(QListWidgetItem* item)
{
    const QImage shown = item ? shown_.value(item->data(PathRole).toString()) : QImage();
    if (shown.isNull())
        return;
    QDialog large(this);
    large.setWindowTitle(item->text().section(QLatin1Char('\n'), 0, 0));
    auto* picture = new QLabel(&large);
    // Twice the size, each pixel a square of four.
    QImage twice = DevicePicture(shown, 2 * Factor());
    twice.setDevicePixelRatio(Factor());
    picture->setPixmap(QPixmap::fromImage(twice));
    auto* layout = new QVBoxLayout(&large);
    layout->addWidget(picture);
    // Space closes what Space opened (see eventFilter).
    large.installEventFilter(this);
    large.exec();
}

bool ThemeBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        if (watched == list) {
            ShowLarge(list->currentItem());
            return true;
        }
        // The enlargement: a Space held down since it opened does not close it.
        auto* large = qobject_cast<QDialog*>(watched);
        if (large && large != this && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            large->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
