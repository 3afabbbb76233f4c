#include "tools/arena/RoundTrips.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

namespace brv {

namespace {

constexpr double kPerDoubling = 8;

int bucketOf(long long microseconds) {
    if (microseconds <= 1) {
        return 0;
    }
    const double bucket = kPerDoubling * std::log2(static_cast<double>(microseconds));
    return std::min(RoundTrips::kBuckets - 1, static_cast<int>(bucket));
}

}  // namespace

void RoundTrips::add(long long microseconds) {
    ++counts_[static_cast<std::size_t>(bucketOf(microseconds))];
}

void RoundTrips::add(const std::vector<long long>& microseconds) {
    for (const long long us : microseconds) {
        add(us);
    }
}

void RoundTrips::add(const RoundTrips& other) {
    for (std::size_t k = 0; k < counts_.size(); ++k) {
        counts_[k] += other.counts_[k];
    }
}

long long RoundTrips::count() const {
    long long total = 0;
    for (const long long n : counts_) {
        total += n;
    }
    return total;
}

double RoundTrips::percentileMs(double percent) const {
    const long long total = count();
    if (total == 0) {
        return -1;
    }
    const auto wanted = std::max(1LL, static_cast<long long>(std::ceil(total * percent / 100)));
    long long seen = 0;
    std::size_t k = 0;
    for (; k + 1 < counts_.size() && seen + counts_[k] < wanted; ++k) {
        seen += counts_[k];
    }
    return std::exp2((static_cast<double>(k) + 0.5) / kPerDoubling) / 1000;
}

nlohmann::json RoundTrips::toJson() const {
    auto pairs = nlohmann::json::array();
    for (std::size_t k = 0; k < counts_.size(); ++k) {
        if (counts_[k] > 0) {
            pairs.push_back({k, counts_[k]});
        }
    }
    return pairs;
}

std::optional<RoundTrips> RoundTrips::fromJson(const nlohmann::json& pairs, long long maxCount) {
    if (!pairs.is_array() || pairs.size() > static_cast<std::size_t>(kBuckets)) {
        return std::nullopt;
    }
    RoundTrips trips;
    for (const auto& pair : pairs) {
        if (!pair.is_array() || pair.size() != 2 || !pair[0].is_number_integer() ||
            !pair[1].is_number_integer()) {
            return std::nullopt;
        }
        const auto bucket = pair[0].get<long long>();
        const auto n = pair[1].get<long long>();
        if (bucket < 0 || bucket >= kBuckets || n < 0 || n > maxCount) {
            return std::nullopt;
        }
        trips.counts_[static_cast<std::size_t>(bucket)] += n;
    }
    return trips;
}

}  // namespace brv
