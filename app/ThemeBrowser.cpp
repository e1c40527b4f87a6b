#include "ThemeBrowser.h"

#include "BitmapImage.h"
#include "PageImage.h"
#include "SlotCatalogue.h"
#include "ThemeThumbnail.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int PathRole = Qt::UserRole;

// Paints each item's picture as it comes from the browser's own store: a
// picture that arrives repaints its item, where a new icon in the model
// would lay all the items out again, each time.
class PictureDelegate : public QStyledItemDelegate {
public:
    PictureDelegate(QObject* parent, std::function<QIcon(const QString& path)> picture)
        : QStyledItemDelegate(parent), picture_(std::move(picture))
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QIcon icon = picture_(index.data(PathRole).toString());
        if (!icon.isNull())
            option->icon = icon;
    }

private:
    std::function<QIcon(const QString&)> picture_;
};

// In the screen's own pixel format, made here so the window's thread only
// wraps it: a toolkit conversion of three-byte pixels takes milliseconds.
QImage ScreenImage(const Bitmap& b)
{
    QImage image(b.Width(), b.Height(), QImage::Format_RGB32);
    for (int y = 0; y < b.Height(); ++y) {
        const std::uint8_t* from = b.Row(y);
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < b.Width(); ++x, from += 3)
            to[x] = qRgb(from[2], from[1], from[0]);
    }
    return image;
}

}  // namespace

ThemeBrowser::ThemeBrowser(QWidget* parent, std::function<void(const QString&)> open,
                           std::function<void(const QString&)> compare, std::function<QString(const QString&)> pickFolder)
    : QDialog(parent), open_(std::move(open)), compare_(std::move(compare)), pickFolder_(std::move(pickFolder)),
      pool_(std::make_unique<QThreadPool>())
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
    list->setItemDelegate(new PictureDelegate(list, [this](const QString& path) { return shown_.value(path); }));
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
    connect(settle, &QTimer::timeout, this, [this] { Rescan(); });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle, qOverload<>(&QTimer::start));

    auto* compareButton = new QPushButton(QStringLiteral("&Compare With"), this);
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
    // The chosen theme stays chosen across a new look at the folder.
    if (toAdd_.isEmpty())
        current_ = list->currentItem() ? list->currentItem()->data(PathRole).toString() : QString();
    ++generation_;
    pending_ = 0;
    items_.clear();
    shown_.clear();
    list->clear();
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    toAdd_ = QDir(folder_).entryInfoList({QStringLiteral("*.lsth")}, QDir::Files | QDir::Hidden | QDir::System);
    const bool byDate = sort->currentIndex() == 1;
    std::stable_sort(toAdd_.begin(), toAdd_.end(), [byDate](const QFileInfo& a, const QFileInfo& b) {
        return byDate ? a.lastModified() > b.lastModified() : QString::localeAwareCompare(a.fileName(), b.fileName()) < 0;
    });
    added_ = 0;
    blank_ = Blank();
    AddSome();
}

void ThemeBrowser::AddSome()
{
    // A few milliseconds' worth of items a turn, so a large folder never
    // holds the window up.
    QElapsedTimer budget;
    budget.start();
    const qreal ratio = devicePixelRatioF();
    for (; added_ < toAdd_.size() && budget.elapsed() < 4; ++added_) {
        const QFileInfo& info = toAdd_.at(added_);
        const QString path = info.absoluteFilePath();
        auto* item = new QListWidgetItem(blank_, info.completeBaseName(), list);
        item->setData(PathRole, path);
        item->setToolTip(QDir::toNativeSeparators(path));
        items_.insert(path, item);
        if (path == current_)
            list->setCurrentItem(item);
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
            Drawn drawn{key, {}, {}, generation};
            if (thumbnail.isTheme) {
                // On whole device pixels, as the preview is at a whole scale.
                const int factor = std::max(1, int(std::ceil(ratio)));
                drawn.picture = ScreenImage(factor > 1 ? Enlarged(thumbnail.screen, factor) : thumbnail.screen);
                drawn.picture.setDevicePixelRatio(factor);
            } else {
                drawn.reason = QString::fromStdString(thumbnail.reason);
            }
            const std::lock_guard<std::mutex> hold(drawnLock_);
            drawn_.push_back(std::move(drawn));
        });
    }
    if (pending_)
        take_->start();
    ApplyFilter();
    if (added_ < toAdd_.size()) {
        add_->start();
        return;
    }
    // The folder for files that come and go or are replaced, each file for
    // one rewritten in place.
    QStringList watched{folder_};
    for (const QFileInfo& info : toAdd_)
        watched << info.absoluteFilePath();
    watcher_->addPaths(watched);
    toAdd_.clear();
    added_ = 0;
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
    for (; i < batch.size() && budget.elapsed() < 8; ++i) {
        Drawn& d = batch[i];
        const Entry entry{d.picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(d.picture)), d.reason};
        cache_.insert(d.key, entry);
        if (d.generation != generation_)
            continue;
        --pending_;
        if (QListWidgetItem* item = items_.value(d.key.path))
            Place(item, entry);
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
        shown_.insert(item->data(PathRole).toString(), entry.picture);
        list->viewport()->update(list->visualItemRect(item));
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

void ThemeBrowser::ShowLarge(QListWidgetItem* item)
{
    const QIcon icon = item ? shown_.value(item->data(PathRole).toString()) : QIcon();
    if (icon.isNull())
        return;
    QDialog large(this);
    large.setWindowTitle(item->text().section(QLatin1Char('\n'), 0, 0));
    auto* picture = new QLabel(&large);
    // Twice the size, each pixel a square of four.
    const qreal ratio = devicePixelRatioF();
    QPixmap twice = icon.pixmap(list->iconSize(), ratio).scaled(list->iconSize() * 2 * ratio, Qt::KeepAspectRatio,
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
