#pragma once
// Mode parameter lists as drives send them, good and broken.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "transport/Bytes.h"

inline std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline std::vector<uint8_t> Answer10(const std::vector<uint8_t>& pages, const std::vector<uint8_t>& descriptors = {})
{
    std::vector<uint8_t> answer(8, 0);
    answer.insert(answer.end(), descriptors.begin(), descriptors.end());
    answer.insert(answer.end(), pages.begin(), pages.end());
    putBe16(&answer[0], uint32_t(answer.size() - 2));
    putBe16(&answer[6], uint32_t(descriptors.size()));
    return answer;
}

inline std::vector<uint8_t> Answer6(const std::vector<uint8_t>& pages, const std::vector<uint8_t>& descriptors = {})
{
    std::vector<uint8_t> answer(4, 0);
    answer.insert(answer.end(), descriptors.begin(), descriptors.end());
    answer.insert(answer.end(), pages.begin(), pages.end());
    answer[0] = uint8_t(answer.size() - 1);
    answer[3] = uint8_t(descriptors.size());
    return answer;
}

// A MODE SENSE(10) answer some drives give: a 6-byte header whose mode data length is 4
// too high, and the last 4 page bytes repeated at the end.
inline std::vector<uint8_t> SixByteHeaderIn10(const std::vector<uint8_t>& pages, uint8_t mediumType,
                                              uint8_t deviceSpecific)
{
    std::vector<uint8_t> answer = {uint8_t(pages.size() + 6), mediumType, deviceSpecific, 0};
    answer.insert(answer.end(), pages.begin(), pages.end());
    answer.insert(answer.end(), pages.end() - 4, pages.end());
    return answer;
}
