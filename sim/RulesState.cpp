#include "sim/RulesState.h"

namespace brv {

RulesState& processRulesState() {
    static RulesState state{detail::processRandom};
    return state;
}

}  // namespace brv
