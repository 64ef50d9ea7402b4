#include "app/generalsettingsview.h"

#include "app/datepicker.h"
#include "app/hud.h"
#include "app/product.h"
#include "app/settingsform.h"
#include "clock/calendarday.h"
#include "clock/currentdate.h"
#include "clock/datetexts.h"
#include "clock/rotationstate.h"
#include "model/environment.h"
#include "strings/stringtable.h"
#include "views/fittinglabel.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>

namespace heliora {

namespace {

    FittingLabel* linkText(const QString& text, const char* name, QWidget* parent)
    {
        auto* label = new FittingLabel(parent);
        label->setObjectName(QLatin1String(name));
        label->setText(text);
        label->setFont(settingsform::monospacedFont(parent->font()));
        label->setTextColor(Qt::white);
        label->setMinimumScaleFactor(0.7);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        return label;
    }

    QHBoxLayout* row(QWidget* left, QWidget* right)
    {
        auto* layout = new QHBoxLayout;
        layout->setSpacing(settingsform::padding);
        layout->addWidget(left, 1, Qt::AlignVCenter);
        layout->addWidget(right, 0, Qt::AlignVCenter);
        return layout;
    }

} // namespace

GeneralSettingsView::GeneralSettingsView(RotationState& rotation, QWidget* parent)
    : QWidget(parent)
    , m_rotation(rotation)
    , m_picker(new DatePicker(this))
    , m_dateLink(linkText({}, "date_link", this))
    , m_hud(new Hud(this))
{
    const QString scheme = QString::fromLatin1(product::urlScheme.data(), qsizetype(product::urlScheme.size()));
    auto* reset = settingsform::buttonForKey("reset_to_today", "reset_to_today", this);
    auto* copyScheme = settingsform::buttonForKey("copy", "copy_scheme", this);
    auto* copyDateLink = settingsform::buttonForKey("copy", "copy_date_link", this);
    // Two buttons read "Copy"; the description says what each one copies.
    copyScheme->setAccessibleDescription(text("open_app"));
    copyDateLink->setAccessibleDescription(text("open_app_with_date"));

    auto* pickerRow = new QHBoxLayout;
    pickerRow->setSpacing(settingsform::padding);
    m_picker->setMinimumWidth(settingsform::datePickerMinimumWidth);
    m_picker->setAccessibleName(text("time_travel"));
    pickerRow->addWidget(m_picker, 0, Qt::AlignVCenter);
    pickerRow->addStretch();
    pickerRow->addWidget(reset, 0, Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(settingsform::padding, 0, settingsform::padding, settingsform::padding);
    layout->setSpacing(6);
    layout->addWidget(settingsform::headerForKey("time_travel", this));
    layout->addLayout(pickerRow);
    layout->addWidget(settingsform::noteForKey("travel_in_time", this));
    settingsform::addDivider(layout, this);
    layout->addWidget(settingsform::headerForKey("url_scheme", this));
    layout->addLayout(row(linkText(scheme, "scheme", this), copyScheme));
    layout->addWidget(settingsform::noteForKey("open_app", this));
    layout->addSpacing(settingsform::padding / 2);
    layout->addLayout(row(m_dateLink, copyDateLink));
    layout->addWidget(settingsform::noteForKey("open_app_with_date", this));
    layout->addStretch();

    connect(m_picker, &DatePicker::dayPicked, this, &GeneralSettingsView::pickDay);
    connect(reset, &QPushButton::clicked, this, [this] { m_rotation.reset(currentDate()); });
    connect(copyScheme, &QPushButton::clicked, this, [this, scheme] { copy(scheme); });
    // The link of the clock's date at the moment of the click, which the row may not show yet if the clock
    // moved since it was last drawn.
    connect(copyDateLink, &QPushButton::clicked, this, [this] { copy(buildDateLink(m_rotation.date())); });
    connect(&m_rotation, &RotationState::dateChanged, this, &GeneralSettingsView::clockChanged);
    clockChanged();
}

void GeneralSettingsView::clockChanged()
{
    // The clock emits for every assignment of its date, also of the same date: only a new date is work.
    const double date = m_rotation.date();
    if (date == m_shownDate)
        return;
    m_shownDate = date;
    m_dateLink->setText(buildDateLink(date));
    m_picker->showInstant(date);
}

void GeneralSettingsView::pickDay(const QDate& day)
{
    const std::unique_ptr<icu::TimeZone> zone = userTimeZone();
    std::optional<double> instant = onDayAtTimeOf(day, m_rotation.date(), *zone);
    if (!instant)
        instant = startOfDay(day, *zone);
    if (instant)
        m_rotation.reset(*instant);
}

void GeneralSettingsView::copy(const QString& text)
{
    // A fresh QMimeData with the one plain-text format: the clipboard then offers nothing else (no HTML, no
    // URL list) to the program that pastes.
    auto* data = new QMimeData;
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    m_hud->present();
    placeHud();
}

void GeneralSettingsView::resizeEvent(QResizeEvent*) { placeHud(); }

void GeneralSettingsView::placeHud()
{
    const QSize size = m_hud->sizeHint();
    m_hud->setGeometry(
        QRect(QPoint((width() - size.width()) / 2, height() - size.height() - settingsform::padding), size));
}

} // namespace heliora
