#include "GenerateDialog.h"

#include "BitmapImage.h"
#include "ColorText.h"
#include "PageImage.h"
#include "PictureSeeds.h"
#include "SlotCatalogue.h"
#include "SwatchButton.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>

#include <algorithm>

namespace {

const char* const SeedNames[3] = {"Hero", "Second", "Third"};
const char* const SeedLabels[3] = {"&Hero:", "&Second:", "T&hird:"};
const char* const StyleTitles[GenerateStyleCount] = {"Fidelity", "Vibrant", "Tonal", "Expressive", "Monochrome"};
const char* const StyleTips[GenerateStyleCount] = {"The seeds as they are, as far as legibility allows",
                                                   "As vivid as the device's colours and the contrast allow",
                                                   "Calm: muted accents on tinted neutrals",
                                                   "A page in the hero's opposite hue, accents turned apart",
                                                   "The hero's hue alone, in tones"};

}  // namespace

GenerateThemeDialog::GenerateThemeDialog(QWidget* parent, const TThemeColorTable& current, const std::set<SlotId>& locked,
                                         int page, ClockSource clock,
                                         const std::function<QString(SlotId)>& listName)
    : QDialog(parent), current_(current), locked_(locked), clock_(std::move(clock)),
      seeds_(ThemeSeeds(current))
{
    setWindowTitle(QStringLiteral("Generate Theme"));
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        auto* row = new QHBoxLayout;
        seedButtons[i] = new SwatchButton(this);
        seedButtons[i]->setObjectName(QStringLiteral("seed%1").arg(i));
        seedButtons[i]->setAccessibleName(QString::fromLatin1(SeedNames[i]));
        connect(seedButtons[i], &QPushButton::clicked, this, [this, i] { PickSeed(i); });
        seedButtons[i]->installEventFilter(this);
        seedButtons[i]->setToolTip(QStringLiteral("Click to choose the colour; drag it onto another seed to swap them"));
        row->addWidget(seedButtons[i], 1);
        if (i > 0) {
            seedUsed[i] = new QCheckBox(QStringLiteral("Use"), this);
            seedUsed[i]->setAccessibleName(QStringLiteral("Use the %1").arg(QString::fromLatin1(SeedNames[i]).toLower()));
            seedUsed[i]->setChecked(i == 1);
            connect(seedUsed[i], &QCheckBox::toggled, this, [this] {
                ShowSeeds();
                Regenerate();
            });
            row->addWidget(seedUsed[i]);
        }
        if (i < 2) {
            auto* swap = new QPushButton(QStringLiteral("\u21C5"), this);
            swap->setAccessibleName(QStringLiteral("Swap the %1 and the %2")
                                        .arg(QString::fromLatin1(SeedNames[i]).toLower(), QString::fromLatin1(SeedNames[i + 1]).toLower()));
            swap->setToolTip(swap->accessibleName());
            swap->setObjectName(QStringLiteral("swap%1").arg(i));
            swap->setAutoDefault(false);
            swap->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            swap->setFixedWidth(swap->fontMetrics().horizontalAdvance(QStringLiteral("MMM")));
            connect(swap, &QPushButton::clicked, this, [this, i] { SwapSeeds(i, i + 1); });
            row->addWidget(swap);
        }
        auto* label = new QLabel(QString::fromLatin1(SeedLabels[i]), this);
        label->setBuddy(seedButtons[i]);
        form->addRow(label, row);
    }
    auto* picture = new QPushButton(QStringLiteral("From &Picture..."), this);
    connect(picture, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Seeds from a Picture"), QString(),
                                                          QStringLiteral("Pictures (*.png *.jpg *.jpeg)"));
        QString error;
        if (!file.isEmpty() && !TakeSeedsFromPicture(file, error))
            problems->setText(error);
    });
    form->addRow(QString(), picture);

    dark = new QRadioButton(QStringLiteral("&Dark"), this);
    light = new QRadioButton(QStringLiteral("&Light"), this);
    (HasDarkPages(current) ? dark : light)->setChecked(true);
    auto* scheme = new QHBoxLayout;
    scheme->addWidget(dark);
    scheme->addWidget(light);
    scheme->addStretch();
    form->addRow(QStringLiteral("Pages:"), scheme);
    connect(dark, &QRadioButton::toggled, this, [this] { Regenerate(); });

    style = new QComboBox(this);
    for (int i = 0; i < GenerateStyleCount; ++i) {
        style->addItem(QString::fromLatin1(StyleTitles[i]));
        style->setItemData(i, QString::fromLatin1(StyleTips[i]), Qt::ToolTipRole);
    }
    const auto styleTip = [this] { style->setToolTip(style->itemData(style->currentIndex(), Qt::ToolTipRole).toString()); };
    styleTip();
    connect(style, qOverload<int>(&QComboBox::currentIndexChanged), this, styleTip);
    auto* styleLabel = new QLabel(QStringLiteral("St&yle:"), this);
    styleLabel->setBuddy(style);
    form->addRow(styleLabel, style);
    connect(style, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { Regenerate(); });

    vividness = new QSlider(Qt::Horizontal, this);
    vividness->setRange(0, 150);
    vividness->setValue(100);
    vividness->setPageStep(10);
    vividness->setAccessibleName(QStringLiteral("Vividness"));
    auto* vividLabel = new QLabel(QStringLiteral("V&ividness:"), this);
    vividLabel->setBuddy(vividness);
    form->addRow(vividLabel, vividness);
    connect(vividness, &QSlider::valueChanged, this, [this] { Regenerate(); });

    contrast = new QComboBox(this);
    contrast->addItems({QStringLiteral("Standard (4.5:1)"), QStringLiteral("High (7:1)")});
    auto* contrastLabel = new QLabel(QStringLiteral("&Contrast:"), this);
    contrastLabel->setBuddy(contrast);
    form->addRow(contrastLabel, contrast);
    connect(contrast, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { Regenerate(); });

    variation = new QSpinBox(this);
    variation->setRange(0, 999999);
    auto* shuffle = new QPushButton(QStringLiteral("&Shuffle"), this);
    connect(shuffle, &QPushButton::clicked, this,
            [this] { variation->setValue(1 + int(QRandomGenerator::global()->bounded(variation->maximum()))); });
    auto* varRow = new QHBoxLayout;
    varRow->addWidget(variation, 1);
    varRow->addWidget(shuffle);
    auto* variationLabel = new QLabel(QStringLiteral("&Variation:"), this);
    variationLabel->setBuddy(variation);
    form->addRow(variationLabel, varRow);
    connect(variation, qOverload<int>(&QSpinBox::valueChanged), this, [this] { Regenerate(); });

    QStringList kept;
    for (SlotId slot : locked_)
        kept << listName(slot);
    auto* keptLabel = new QLabel(kept.isEmpty() ? QStringLiteral("No slot is locked: every colour is generated.")
                                                : QStringLiteral("Locked and kept: ") + kept.join(QStringLiteral(", ")),
                                 this);
    keptLabel->setWordWrap(true);
    keptLabel->setObjectName(QStringLiteral("kept"));
    problems = new QLabel(this);
    problems->setWordWrap(true);

    preview = new QLabel(this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setFixedSize(240, 320);
    preview->setAlignment(Qt::AlignCenter);
    previewSmall = new QLabel(this);
    previewSmall->setObjectName(QStringLiteral("previewSmall"));
    previewSmall->setFixedSize(80, 160);
    previewSmall->setAlignment(Qt::AlignCenter);
    pageChooser = new QComboBox(this);
    for (const char* name : PageNames)
        pageChooser->addItem(QString::fromLatin1(name));
    pageChooser->setCurrentIndex(std::clamp(page, 0, PageCount - 1));
    pageChooser->setAccessibleName(QStringLiteral("Page"));
    pageChooser->setToolTip(QStringLiteral("Page Up and Page Down turn the pages"));
    connect(pageChooser, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { DrawPages(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(keptLabel);
    left->addWidget(problems);
    left->addStretch();
    // The small display under the large one, so the dialog stays narrow
    // enough to stand beside the editor.
    auto* pages = new QVBoxLayout;
    pages->addWidget(pageChooser);
    pages->addWidget(preview);
    pages->addWidget(previewSmall);
    pages->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(pages);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(buttons);
    setMinimumWidth(560);
    ShowSeeds();
    Regenerate();
}

void GenerateThemeDialog::PickSeed(int which)
{
    QColorDialog dialog(ToQColor(seeds_[which]), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("%1 Colour").arg(QString::fromLatin1(SeedNames[which])));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QColor c = dialog.selectedColor();
    seeds_[which] = MakeColor(unsigned(c.red()), unsigned(c.green()), unsigned(c.blue()));
    if (which > 0)
        seedUsed[which]->setChecked(true);
    ShowSeeds();
    Regenerate();
}

void GenerateThemeDialog::ShowSeeds()
{
    for (int i = 0; i < 3; ++i) {
        seedButtons[i]->SetSwatch(ToQColor(seeds_[i]), palette().color(QPalette::Button));
        seedButtons[i]->setText(QString::fromStdString(ColorToHexText(seeds_[i])));
        seedButtons[i]->setEnabled(i == 0 || seedUsed[i]->isChecked());
    }
    seedUsed[2]->setEnabled(seedUsed[1]->isChecked());
}

bool GenerateThemeDialog::TakeSeedsFromPicture(const QString& file, QString& error)
{
    // Decoded as lsthtool decodes it, so the same picture gives the same seeds.
    std::vector<TColor> seeds;
    std::string reason;
    if (!SeedsFromPictureFile(file.toStdString(), seeds, reason)) {
        error = QStringLiteral("%1: %2").arg(file, QString::fromStdString(reason));
        return false;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (i < seeds.size())
            seeds_[i] = seeds[i];
        if (i > 0)
            seedUsed[i]->setChecked(i < seeds.size());
    }
    ShowSeeds();
    Regenerate();
    return true;
}

void GenerateThemeDialog::Regenerate()
{
    options_.seeds = {seeds_[0]};
    for (int i = 1; i < 3 && seedUsed[i]->isChecked() && seedUsed[i]->isEnabled(); ++i)
        options_.seeds.push_back(seeds_[i]);
    options_.dark = dark->isChecked();
    options_.highContrast = contrast->currentIndex() == 1;
    options_.variation = std::uint32_t(variation->value());
    options_.style = static_cast<GenerateStyle>(style->currentIndex());
    options_.vividness = vividness->value();
    result_ = GenerateTheme(options_, current_, locked_);
    shown_ = result_.colors;
    DrawPages();
    QStringList lines;
    for (const UnmendablePair& u : result_.unmendable)
        lines << QStringLiteral("%1 on %2 cannot be mended: %3")
                     .arg(QString::fromLatin1(AnyListNameOf(0, false, u.fg)), QString::fromLatin1(AnyListNameOf(0, false, u.bg)),
                          QString::fromStdString(u.why));
    problems->setText(lines.join(QLatin1Char('\n')));
}

void GenerateThemeDialog::DrawPages()
{
    const int page = pageChooser->currentIndex();
    for (const bool small : {false, true}) {
        TLSDrawer drawer(shown_, small);
        drawer.SetClock(clock_);
        drawer.DrawPage(page);
        (small ? previewSmall : preview)->setPixmap(QPixmap::fromImage(ToQImage(ScreenOf(drawer.Bitmap(), small))));
    }
}

void GenerateThemeDialog::SwapSeeds(int a, int b)
{
    std::swap(seeds_[a], seeds_[b]);
    // A role that takes a seed is used.
    for (int i : {a, b})
        if (i > 0)
            seedUsed[i]->setChecked(true);
    ShowSeeds();
    Regenerate();
}

bool GenerateThemeDialog::eventFilter(QObject* watched, QEvent* event)
{
    const auto which = [this](const QObject* o) {
        for (int i = 0; i < 3; ++i)
            if (seedButtons[i] == o)
                return i;
        return -1;
    };
    const int from = which(watched);
    if (from < 0)
        return QDialog::eventFilter(watched, event);
    // Only mouse events are looked at; each is cast as what it is.
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseMove &&
        event->type() != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) {
            dragFrom_ = -1;
            pressedAt_ = mouse->globalPosition().toPoint();
        }
        break;
    case QEvent::MouseMove:
        if ((mouse->buttons() & Qt::LeftButton) && dragFrom_ < 0 &&
            (mouse->globalPosition().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
            dragFrom_ = from;
            seedButtons[from]->setDown(false);
            seedButtons[from]->setCursor(Qt::ClosedHandCursor);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (dragFrom_ >= 0) {
            // Dropped on another seed: the two change places; anywhere else, nothing.
            seedButtons[dragFrom_]->unsetCursor();
            const int onto = which(QApplication::widgetAt(mouse->globalPosition().toPoint()));
            const int dragged = dragFrom_;
            dragFrom_ = -1;
            seedButtons[dragged]->setDown(false);
            if (onto >= 0 && onto != dragged && seedButtons[onto]->isEnabled())
                SwapSeeds(dragged, onto);
            return true;  // not a click
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void GenerateThemeDialog::keyPressEvent(QKeyEvent* event)
{
    // Page Up and Page Down turn the preview's pages from anywhere in the dialog.
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        const int step = event->key() == Qt::Key_PageDown ? 1 : -1;
        pageChooser->setCurrentIndex((pageChooser->currentIndex() + step + PageCount) % PageCount);
        return;
    }
    QDialog::keyPressEvent(event);
}
