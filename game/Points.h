#pragma once

#include <vessik/presentation/ViewObject.h>

// The score of a run, shown as the view object's value. One point comes every
// PASSIVE_STEPS steps while the sea moves, and destroyed obstacles add their
// value through point events; neither counts while the speed is below 1.
// The score also raises the speed, about one level per hundred points.
class Points : public vk::ViewObject {
  public:
    static constexpr int PASSIVE_STEPS = 6;

    // Located top-right, labelled "POINTS" in cyan at 0, listening to steps
    // and point events.
    Points();
    ~Points() override;

    int eventHandler(const vk::Event *p_event) override;

    // Adds `n` to the score; raises the speed by 0.2 when the new score plus
    // `n` once more is a multiple of 100.
    void addPoints(int n);

  private:
    int m_step_count = 0;
};
