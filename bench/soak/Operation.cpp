#include "Operation.h"

#include "WordGenerator.h"

#include <array>
#include <cstddef>

namespace {
struct Kind {
    Operation operation;
    const char* name;
    // Out of 100.
    int weight;
};

// Writes about as often as a learner would, lists and searches more, scrolling most.
constexpr std::array<Kind, Operations::kKinds> kMix = {{
    {Operation::Register, "register", 12},
    {Operation::Delete, "delete", 8},
    {Operation::Normal, "normal", 10},
    {Operation::Alphabet, "alphabet", 10},
    {Operation::Date, "date", 10},
    {Operation::Search, "search", 15},
    {Operation::Jump, "jump", 17},
    {Operation::End, "ctrl+end", 8},
    {Operation::PageDown, "page-down", 10},
}};

constexpr int totalWeight()
{
    int total = 0;
    for (const Kind& kind : kMix)
        total += kind.weight;
    return total;
}
constexpr bool inEnumOrder()
{
    for (size_t i = 0; i < kMix.size(); ++i) {
        if (int(kMix[i].operation) != int(i))
            return false;
    }
    return true;
}
static_assert(totalWeight() == 100, "the weights are out of 100");
static_assert(inEnumOrder(), "a kind's place is its operation's value");
} // namespace

namespace Operations {

Operation pick(WordGenerator& random)
{
    int draw = int(random.below(totalWeight()));
    for (const Kind& kind : kMix) {
        if (draw < kind.weight)
            return kind.operation;
        draw -= kind.weight;
    }
    return kMix.back().operation;
}

const char* name(Operation operation)
{
    return kMix[size_t(index(operation))].name;
}

} // namespace Operations
