#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <vector>

namespace brv {

// The round trips of a bot's decisions (state sent to answer read), counted
// in buckets an eighth of a doubling wide (about 9%), so the round trips of
// any number of games and shares add up in a few hundred bytes and still
// give a median and a 99th percentile to within a bucket.
class RoundTrips {
public:
    // Enough for round trips up to about 3 hours, far past any bank.
    static constexpr int kBuckets = 256;

    void add(long long microseconds);
    void add(const std::vector<long long>& microseconds);
    void add(const RoundTrips& other);
    long long count() const;
    // The round trip, in milliseconds, that `percent` of them do not exceed
    // (the middle of its bucket); -1 when there are none.
    double percentileMs(double percent) const;

    // [[bucket, count], ...] for the buckets that hold any.
    nlohmann::json toJson() const;
    // Nothing for a list that is not such pairs, a bucket out of range or a
    // count of more than `maxCount`.
    static std::optional<RoundTrips> fromJson(const nlohmann::json& pairs, long long maxCount);

private:
    std::array<long long, kBuckets> counts_{};
};

}  // namespace brv
