#include "GenerateDialog.h"

#include "BitmapImage.h"
#include "ColorText.h"
#include "Legibility.h"
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

namespace {

const char* const SeedNames[3] = {"Base", "Accent", "Second accent"};
const char* const SeedLabels[3] = {"&Base:", "&Accent:", "Second acce&nt:"};

}  // namespace

GenerateThemeDialog::GenerateThemeDialog(QWidget* parent, const TThemeColorTable& current, const std::set<SlotId>& locked,
                                         int page, bool smallDisplay, ClockSource clock,
                                         const std::function<QString(SlotId)>& listName)
    : QDialog(parent), current_(current), locked_(locked), page_(page), small_(smallDisplay), drawer_(shown_, small_),
      seeds_{current[SlotIndex(SlotId::Main_Background)], current[SlotIndex(SlotId::Main_AccentPB)],
             current[SlotIndex(SlotId::Main_AccentVW)]}
{
    setWindowTitle(QStringLiteral("Generate Theme"));
    drawer_.SetClock(std::move(clock));
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        auto* row = new QHBoxLayout;
        seedButtons[i] = new SwatchButton(this);
        seedButtons[i]->setObjectName(QStringLiteral("seed%1").arg(i));
        seedButtons[i]->setAccessibleName(QString::fromLatin1(SeedNames[i]));
        connect(seedButtons[i], &QPushButton::clicked, this, [this, i] { PickSeed(i); });
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
    (RelativeLuminance(current[SlotIndex(SlotId::Main_Background)]) < 0.5 ? dark : light)->setChecked(true);
    auto* scheme = new QHBoxLayout;
    scheme->addWidget(dark);
    scheme->addWidget(light);
    scheme->addStretch();
    form->addRow(QStringLiteral("Pages:"), scheme);
    connect(dark, &QRadioButton::toggled, this, [this] { Regenerate(); });

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

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(keptLabel);
    left->addWidget(problems);
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(preview, 0, Qt::AlignTop);
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
    result_ = GenerateTheme(options_, current_, locked_);
    shown_ = result_.colors;
    drawer_.DrawPage(page_);
    Bitmap screen = ScreenOf(drawer_.Bitmap(), small_);
    if (small_)
        screen = Enlarged(screen, 2);
    preview->setPixmap(QPixmap::fromImage(ToQImage(screen)));
    QStringList lines;
    for (const UnmendablePair& u : result_.unmendable)
        lines << QStringLiteral("%1 on %2 cannot be mended: %3")
                     .arg(QString::fromLatin1(AnyListNameOf(0, false, u.fg)), QString::fromLatin1(AnyListNameOf(0, false, u.bg)),
                          QString::fromStdString(u.why));
    problems->setText(lines.join(QLatin1Char('\n')));
}
