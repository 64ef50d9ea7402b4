#pragma once

#include <QAbstractButton>

#include <string>

namespace heliora {

/// A button (QAbstractButton) that is only its glyph: white, fitted into a square, no bezel. It dims a little
/// while pressed and to half opacity while disabled. It takes no keyboard focus, which it could not show: the
/// window that holds it gives it a key instead.
class GlyphButton : public QAbstractButton {
    Q_OBJECT
public:
    GlyphButton(std::string glyphName, int glyphSide, QWidget* parent = nullptr);

    void setGlyph(std::string glyphName);
    const std::string& glyph() const { return m_glyph; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_glyph;
    int m_side;
};

} // namespace heliora
