#pragma once

#include <QWidget>

#include <functional>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace heliora {

/// A heads-up confirmation drawn over its parent: the check glyph and "copied" in white on an orange capsule,
/// with 12 + 16 pixels of space left and right of the content and 16 above and below it. The parent places it.
///
/// present() shows it at once and, only when it was not already showing, schedules its hide 2.0 s later:
/// presenting it again while it shows neither restarts nor extends that time. The hide fades it out over
/// 0.25 s; presenting it during the fade brings it back at full strength with a fresh 2.0 s. The hide is
/// scheduled with the HUD as its context, so a hide that comes due after the HUD is gone does nothing.
///
/// The scheduler is Qt's single-shot timer unless another is set (tests pass one that they run by hand).
class Hud : public QWidget {
    Q_OBJECT
public:
    /// Runs `task` once, `ms` milliseconds from now, unless `context` is destroyed before.
    using Scheduler = std::function<void(int ms, QObject* context, std::function<void()> task)>;

    explicit Hud(QWidget* parent = nullptr);

    static constexpr int shownMs = 2000;
    static constexpr int fadeMs = 250;
    static constexpr int contentSideMargin = 12;
    static constexpr int outerMargin = 16;

    void present();
    /// True from present() until the hide comes due (the fade that follows counts as hidden).
    bool isShowing() const { return m_showing; }
    void setScheduler(Scheduler scheduler);

    QSize sizeHint() const override;

signals:
    void showingChanged(bool showing);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void hideAnimated();

    Scheduler m_scheduler;
    QGraphicsOpacityEffect* m_opacity;
    QPropertyAnimation* m_fade;
    bool m_showing = false;
};

} // namespace heliora
