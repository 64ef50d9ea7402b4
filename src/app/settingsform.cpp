#include "app/settingsform.h"

#include "strings/stringtable.h"
#include "views/fittinglabel.h"
#include "views/theme.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace heliora::settingsform {

QLabel* headerForKey(const char* key, QWidget* parent)
{
    auto* label = new QLabel(text(key), parent);
    label->setObjectName(QLatin1String(key));
    label->setTextFormat(Qt::PlainText);
    label->setContentsMargins(0, padding / 2, 0, padding / 4);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

FittingLabel* noteForKey(const char* key, QWidget* parent)
{
    auto* label = new FittingLabel(parent);
    label->setObjectName(QLatin1String(key));
    label->setText(text(key));
    label->setTextColor(colors::gray);
    label->setMinimumScaleFactor(0.5);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Cut or not, the whole note is there for whoever points at it.
    label->setToolTip(label->text());
    return label;
}

QPushButton* buttonForKey(const char* key, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text(key), parent);
    button->setObjectName(QLatin1String(name));
    button->setMinimumWidth(button->sizeHint().width() + padding);
    return button;
}

void addDivider(QBoxLayout* layout, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedHeight(1);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Midlight));
    line->setPalette(palette);
    layout->addSpacing(padding / 2);
    layout->addWidget(line);
    layout->addSpacing(padding / 2);
}

QFont monospacedFont(const QFont& body)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (body.pixelSize() > 0)
        font.setPixelSize(body.pixelSize());
    else
        font.setPointSizeF(body.pointSizeF());
    return font;
}

} // namespace heliora::settingsform
