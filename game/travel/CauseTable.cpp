#include "game/travel/CauseTable.h"

#include <initializer_list>

namespace {

// Condition kinds 1-47 as bits of a mask.
constexpr uint64_t Kinds(std::initializer_list<int> kinds)
{
    uint64_t mask = 0;
    for (int k : kinds)
        mask |= uint64_t{1} << k;
    return mask;
}

constexpr uint64_t Range(int first, int last)
{
    uint64_t mask = 0;
    for (int k = first; k <= last; ++k)
        mask |= uint64_t{1} << k;
    return mask;
}

constexpr uint64_t kEveryKind = ~uint64_t{0};

struct CauseRow {
    int32_t cause;
    uint64_t kinds;
    CauseEffect effect;
};

constexpr CauseEffect E{};

const CauseRow kCauseTable[] = {
    {1, Kinds({1, 3, 4, 16}), E.SevDiv(10, 20)},
    {1, Kinds({2}), E.B19(50, 25)},
    {1, Kinds({5}), E.A30(5, 3).MaxUnskilled()},
    {1, Range(7, 11), E.B24(10, 5).MaxUnskilled()},
    {1, Kinds({12, 47}), E.B24(100, 50).MaxUnskilled()},
    {1, Kinds({13}), E.L(100).MaxUnskilled()},
    {1, Kinds({14, 15, 17, 23, 26, 29, 30, 31, 45, 46}) | Range(36, 40), E.MaxUnskilled()},
    {1, Kinds({19}), E.K(100, 50)},
    {1, Kinds({20}), E.B19(50, 25).MaxUnskilled()},
    {1, Kinds({21}), E.L(300).MaxUnskilled()},
    {1, Kinds({22}), E.A23(100, 50).MaxUnskilled()},
    {1, Kinds({24}), E.A23(50, 25).MaxUnskilled()},
    {1, Kinds({25, 35}), E.L(250).MaxUnskilled()},
    {1, Kinds({27}), E.K(500, 250)},
    {1, Kinds({28, 32, 34, 44}), E.A30(10, 5).MaxUnskilled()},
    {1, Kinds({42}), E.A30(5, 3).Max()},

    {2, Kinds({1, 3, 4, 16}), E.SevDiv(10, 20)},
    {2, Kinds({2}), E.B19(10, 5)},
    {2, Kinds({5}), E.A30(5, 0).Min()},
    {2, Range(7, 11), E.B24(5, 2)},
    {2, Kinds({12, 47}), E.B24(50, 25)},
    {2, Kinds({13}), E.L(50).Min()},
    {2, Kinds({14, 15, 17, 19, 26, 29, 30, 45, 46}), E.Min()},
    {2, Kinds({21}), E.L(200).Max()},
    {2, Kinds({22}), E.A23(10, 5).Max()},
    {2, Kinds({23, 31}), E.Max()},
    {2, Kinds({24}), E.A23(10, 5)},
    {2, Kinds({25, 35}), E.L(100)},
    {2, Kinds({27}), E.K(100, 50).Min()},
    {2, Kinds({28, 42}), E.A30(1, 0).Min()},
    {2, Kinds({32, 34, 44}), E.Min().A30IfOld()},

    {3, Kinds({1, 3, 4, 16}), E.SevDiv(5, 10)},
    {3, Kinds({2}), E.B19(50, 25)},
    {3, Kinds({5}), E.A30(1, 0)},
    {3, Range(7, 11), E.B24(5, 2)},
    {3, Kinds({12}), E.B24(60, 30)},
    {3, Kinds({13}), E.L(100).MaxUnskilled()},
    {3, Kinds({19}), E.K(200, 100)},
    {3, Kinds({20}), E.B19(100, 50).MaxUnskilled()},
    {3, Kinds({22}), E.A23(50, 25).MaxUnskilled()},
    {3, Kinds({23, 26, 31}), E.Max()},
    {3, Kinds({24}), E.A23(10, 5)},
    {3, Kinds({25}), E.L(100)},
    {3, Kinds({27}), E.K(300, 150)},
    {3, Kinds({28, 32, 34, 44}), E.A30(5, 2)},
    {3, Kinds({35}), E.L(200).MaxUnskilled()},
    {3, Kinds({43}), E.Min()},

    {4, Kinds({1, 3, 4, 16}), E.SevDiv(20, 50)},
    {4, Range(7, 12) | Kinds({24, 47}) | Range(36, 40), E.Min()},

    {5, Kinds({1, 3, 4, 16}), E.SevDiv(20, 50)},
    {5, Kinds({12, 24, 47}), E.Min()},
    {5, Kinds({34}), E.A30(5, 3)},
    {5, Kinds({35}), E.L(200).MaxUnskilled()},

    {6, kEveryKind, E.SevDiv(20, 30)},

    {7, Kinds({1, 3, 4, 16}), E.SevDiv(5, 10)},
    {7, Kinds({2}), E.B19(500, 250).MaxUnskilled()},
    {7, Range(7, 11), E.B24(50, 50).MaxUnskilled()},
    {7, Kinds({12, 47}), E.B24(200, 100).MaxUnskilled()},
    {7, Kinds({13}), E.L(500, 300).MaxUnskilled()},
    {7, Kinds({15, 26, 30, 31, 32, 45}) | Range(36, 40), E.MaxUnskilled()},
    {7, Kinds({20}), E.B19(200, 100).MaxUnskilled()},
    {7, Kinds({22}), E.A23(200, 100).MaxUnskilled()},
    {7, Kinds({24}), E.A23(50, 30).MaxUnskilled()},
    {7, Kinds({28, 34}), E.A30(10, 5).MaxUnskilled()},

    {8, Kinds({5, 32}), E.Min().A30IfOld()},
    {8, Kinds({13}), E.L(50)},
    {8, Kinds({17, 19}), E.Min()},
    {8, Kinds({28}), E.A30(1, 1).Min()},
    {8, Kinds({42}), E.A30(3, 1)},

    {9, Kinds({13}), E.L(200)},
    {9, Kinds({19, 46}), E.Min()},

    {10, Kinds({13}), E.L(100).Min()},
    {10, Kinds({19, 20, 26}), E.Min()},
    {10, Kinds({25}), E.L(100).B24(50, 30).Min()},
    {10, Kinds({47}), E.B24(50, 30).Min()},
    {10, Kinds({31}), E.Max()},
    {10, Kinds({32}), E.Min().A30IfOld()},
    {10, Kinds({44}), E.A30(5, 3)},

    {11, Kinds({5}), E.A30(2, 1)},
    {11, Range(7, 11), E.B24(5, 3)},
    {11, Kinds({21}), E.L(250).Max()},
    {11, Kinds({22}), E.A23(50, 30)},
    {11, Kinds({23, 31}) | Range(36, 40), E.Max()},
    {11, Kinds({25}), E.L(150)},
    {11, Kinds({27}), E.K(300, 200)},
    {11, Kinds({28, 32, 34}), E.A30(5, 3)},
    {11, Kinds({35}), E.L(200).MaxUnskilled()},
    {11, Kinds({42}), E.A30(3, 2)},

    {13, Kinds({2, 14, 19}), E.Min()},
    {13, Kinds({5}), E.A30(2, 1)},
    {13, Kinds({42}), E.A30(3, 2)},

    {14, Kinds({5}), E.A30(5, 3).MaxUnskilled()},
    {15, Range(7, 11), E.B24(10, 5).MaxUnskilled()},
    {16, Kinds({14}), E.Max()},
    {16, Kinds({35}), E.L(900).Max()},
    {17, Kinds({19}), E.K(300, 200)},
    {17, Kinds({25}), E.L(200).Max()},
    {17, Kinds({27}), E.K(500, 300)},
    {17, Kinds({29, 31}), E.Max()},
    {18, Kinds({42}), E.A30(1, 0)},
    {19, Kinds({27}), E.Min()},
    {19, Kinds({42}), E.A30(5, 3)},
    {20, Kinds({27}), E.K(500, 300)},
    {21, Kinds({28, 34}), E.A30(5, 3)},
    {21, Kinds({44}), E.A30(10, 5).Max()},
    {21, Kinds({45}), E.Max()},
    {22, Kinds({29, 30, 44}), E.Min()},
    {23, Kinds({23}), E.Max()},
    {24, Kinds({17}), E.Max()},
    {25, Kinds({15, 22}), E.Min()},
    {25, Kinds({21}), E.L(100).Min()},
    {26, Kinds({22}), E.A23(50, 30).Min()},
    {27, Kinds({23}), E.Follow47()},
    {28, Kinds({23}), E.Max()},
    {28, Kinds({24, 47}), E.Min()},
    {29, Kinds({35}), E.Min()},
    {30, Kinds({2}), E.Min()},
};

} // namespace

const CauseEffect* FindCauseEffect(int32_t cause, int32_t kind)
{
    if (kind < 0 || kind > 63)
        return nullptr;
    for (const CauseRow& row : kCauseTable)
        if (row.cause == cause && (row.kinds & (uint64_t{1} << kind)) != 0)
            return &row.effect;
    return nullptr;
}
