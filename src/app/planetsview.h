#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace heliora {

class FittingLabel;
class GlyphButton;
class RotationState;
class SharedSettings;
class SolarSystemView;

/// The main window's content: the running orrery on black, the date at the top, the caption counting days or
/// years from today, the speed, and the three clock buttons. It owns the clock's heartbeat: a precise 0.5 s
/// timer that, while the clock plays, advances it and lets the planets glide to their new places. The clock
/// is the application's one RotationState, shared with the other windows; the view only observes and drives it.
class PlanetsView : public QWidget {
    Q_OBJECT
public:
    explicit PlanetsView(RotationState& rotation, QWidget* parent = nullptr);
    ~PlanetsView() override;

    static constexpr int tickIntervalMs = 500;
    static constexpr double orreryDiameter = 400;

    /// Sets the clock's date from a date link; anything else is ignored. True when the link was taken.
    bool openLink(const QString& link);

    /// One beat of the heartbeat, as the timer gives it: while the clock plays, advances it and lets the planets
    /// glide over one tick interval; while paused, nothing.
    void tick();

    // The pieces, for tests and the end-to-end harness.
    SolarSystemView& orrery() const { return *m_orrery; }
    FittingLabel& dateLabel() const { return *m_date; }
    FittingLabel& captionLabel() const { return *m_caption; }
    QLabel& speedLabel() const { return *m_speed; }
    GlyphButton& backwardButton() const { return *m_backward; }
    GlyphButton& playPauseButton() const { return *m_playPause; }
    GlyphButton& forwardButton() const { return *m_forward; }
    QTimer& tickTimer() { return m_tick; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void clockChanged();
    void updateTexts();

    RotationState& m_rotation;
    SharedSettings* m_settings;
    SolarSystemView* m_orrery;
    FittingLabel* m_date;
    FittingLabel* m_caption;
    QLabel* m_speed;
    GlyphButton* m_backward;
    GlyphButton* m_playPause;
    GlyphButton* m_forward;
    QTimer m_tick;
    /// Set by the tick so that the date change it causes glides; any other change jumps.
    bool m_animateNextChange = false;
};

} // namespace heliora
