#pragma once

#include <QWidget>

class QSpacerItem;
class QVBoxLayout;

namespace heliora {

/// One section of a grouped list: its rows stacked on a rounded panel, with a hairline between two rows.
/// The fact window and the bodies list are made of these.
class GroupedSection : public QWidget {
    Q_OBJECT
public:
    explicit GroupedSection(QWidget* parent = nullptr);

    /// Appends a row; the section takes ownership.
    void addRow(QWidget* row);
    /// The rows in display order.
    QList<QWidget*> rows() const;

    static constexpr int cornerRadius = 8;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_layout;
};

/// The header of a section that has no title: a gap that draws nothing and, being no widget, offers nothing to
/// assistive technologies. The caller's layout takes ownership.
QSpacerItem* makeEmptySectionHeader();

/// Height of that gap, in pixels.
inline constexpr int emptySectionHeaderHeight = 14;

} // namespace heliora
