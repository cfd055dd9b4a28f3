#pragma once

#include <type_traits>

// Calls loop with std::true_type when condition is true, else with
// std::false_type, so that the loop is compiled once for each and the
// condition is a constant inside it.
template <class Loop>
void WithConstant(bool condition, Loop loop)
{
    if (condition)
        loop(std::true_type{});
    else
        loop(std::false_type{});
}
