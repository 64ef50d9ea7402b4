#pragma once

#include "model/factformat.h"
#include "model/planet.h"

#include <QString>
#include <QWidget>

class QLabel;

namespace heliora {

/// A widget that shows the facts of one body, as its fact window shows them: the body's picture, then the physical
/// facts, the orbit and rotation, the view from Earth (not for Earth itself), each on a grouped panel, and the source
/// line whose link opens the body's fact sheet in the browser. Every text comes from the fact rows of the model and the
/// string table; a fact that the body lacks has no row. The content is built once, from the object alone: the view does
/// not follow the clock.
///
/// Parts that tests and tools look up by object name: the panels "section_0" to "section_2"; in them one row
/// per fact, named like the fact row ("mass", "rotation_period", ...), holding the labels "title", "caption"
/// (when the fact has one), "value" and "secondary" (the ratio or AU line, when there is one); the picture
/// "header_image" and the label "source_line".
class SolarSystemObjectDetailView : public QWidget {
    Q_OBJECT
public:
    explicit SolarSystemObjectDetailView(const SolarSystemObject& object, QWidget* parent = nullptr);

    const SolarSystemObject& object() const { return m_object; }

private:
    QWidget* makeRow(const FactRow& row);
    QLabel* makeSourceLine();

    SolarSystemObject m_object;
};

} // namespace heliora
