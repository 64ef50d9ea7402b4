#include "views/groupedsection.h"

#include <QPainter>
#include <QPainterPath>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace heliora {

namespace {
    // The hairline starts where the row's text starts, as in the list views of dark desktops.
    constexpr int separatorInset = 12;
} // namespace

GroupedSection::GroupedSection(QWidget* parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

void GroupedSection::addRow(QWidget* row) { m_layout->addWidget(row); }

QList<QWidget*> GroupedSection::rows() const
{
    QList<QWidget*> result;
    for (int i = 0; i < m_layout->count(); ++i) {
        if (QWidget* row = m_layout->itemAt(i)->widget())
            result.append(row);
    }
    return result;
}

void GroupedSection::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath panel;
    panel.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(panel, palette().color(QPalette::AlternateBase));

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    const QList<QWidget*> all = rows();
    for (qsizetype i = 1; i < all.size(); ++i) {
        const int y = all[i]->geometry().top();
        painter.drawLine(separatorInset, y, width() - 1, y);
    }
}

QSpacerItem* makeEmptySectionHeader()
{
    return new QSpacerItem(0, emptySectionHeaderHeight, QSizePolicy::Minimum, QSizePolicy::Fixed);
}

} // namespace heliora
