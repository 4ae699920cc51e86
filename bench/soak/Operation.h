#pragma once

class WordGenerator;

// The kinds of operation the soak mixes, and how often each comes.
enum class Operation { Register, Delete, Normal, Alphabet, Date, Search, Jump, End, PageDown };

namespace Operations {

constexpr int kKinds = 9;

// One kind, drawn by its weight.
Operation pick(WordGenerator& random);
const char* name(Operation operation);
inline int index(Operation operation)
{
    return int(operation);
}

} // namespace Operations
