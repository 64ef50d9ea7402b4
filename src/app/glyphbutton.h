#pragma once

#include <QAbstractButton>

#include <string>

namespace heliora {

/// A plain button that is only its glyph: white, fitted into a square, no bezel and no focus frame. It dims a
/// little while pressed and to half opacity while disabled.
class GlyphButton : public QAbstractButton {
    Q_OBJECT
public:
    GlyphButton(std::string glyphName, int glyphSide, QWidget* parent = nullptr);

    void setGlyph(std::string glyphName);
    const std::string& glyph() const { return m_glyph; }
    /// The opacity it is drawn with now (1, or 0.5 while disabled).
    qreal drawnOpacity() const { return isEnabled() ? 1.0 : 0.5; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_glyph;
    int m_side;
};

} // namespace heliora
