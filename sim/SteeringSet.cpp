#include "sim/SteeringSet.h"

#include <algorithm>

#include "sim/Replay.h"

namespace brv {

void SteeringSet::join(std::unique_ptr<Steering> steering) {
    steering->onClick([this](const SteeringClick& click) { heard(click); });
    const int colony = steering->colony();
    auto same = std::find_if(steerings_.begin(), steerings_.end(), [colony](const auto& s) {
        return colony >= 0 && s->colony() == colony;
    });
    if (same != steerings_.end()) {
        *same = std::move(steering);
    } else {
        steerings_.push_back(std::move(steering));
    }
}

void SteeringSet::act(World& world, int update) {
    for (auto& steering : steerings_) {
        steering->act(world, update);
    }
}

void SteeringSet::finish(int update, bool finished, int winner) {
    for (auto& steering : steerings_) {
        steering->finish(update, finished, winner);
    }
}

Steering* SteeringSet::of(int colony) const {
    for (const auto& steering : steerings_) {
        if (steering->colony() == colony) {
            return steering.get();
        }
    }
    return nullptr;
}

void SteeringSet::heard(const SteeringClick& click) {
    const bool refused = click.result == ClickResult::Nothing;
    if (replay_ != nullptr && !(refused && refused_ == Refused::Dropped)) {
        replay_->noteInput(click.update,
                           click.result == ClickResult::FlagRemoved ? Replay::Input::FlagRemoved
                                                                    : Replay::Input::FlagSet,
                           click.x, click.y, click.colony);
    }
    if (listener_) {
        listener_(click);
    }
}

}  // namespace brv
