#include "generation/sequence_matrix.hpp"

#include "generation/matrix_file.hpp"

#include <array>
#include <cstdint>
#include <cstring>

namespace heptanote {

namespace {

// A sequence's text is built from two halves made in advance: the head holds positions 1 to 4,
// the tail positions 5 to 7, each as the bytes of its place in the text with zeros elsewhere,
// so that one OR joins them. The 343 sequences of one head then cost a load, an OR and a store.
constexpr int tailCount = 7 * 7 * 7;
constexpr int headCount = sequencesPerRun / tailCount;
constexpr std::size_t textSize = 7;
constexpr std::size_t separatorSize = 2;
constexpr std::size_t lineEndSize = 2;

using Word = std::uint64_t;  // the seven characters of a text and the first space after it

struct Halves {
    std::array<Word, headCount> heads{};
    std::array<Word, tailCount> tails{};
};

// The character of value 1..7 at position 1..7 of a sequence, and where it stands in the text:
// plain text runs from position 1, score text from position 7.
std::size_t place(SequenceStyle style, int position) {
    return style == SequenceStyle::Plain ? static_cast<std::size_t>(position - 1)
                                         : static_cast<std::size_t>(7 - position);
}

char symbol(SequenceStyle style, int value) {
    return style == SequenceStyle::Plain ? static_cast<char>('0' + value) : NoteNames[value - 1][0];
}

// Bytes of the positions first..last for the index-th combination of their values, the last
// position changing fastest.
Word half(SequenceStyle style, int first, int last, int index) {
    char bytes[sizeof(Word)] = {};
    for (int position = last; position >= first; --position) {
        bytes[place(style, position)] = symbol(style, 1 + index % 7);
        index /= 7;
    }
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

Halves makeHalves(SequenceStyle style) {
    Halves halves;
    for (int i = 0; i < headCount; ++i) halves.heads[i] = half(style, 1, 4, i);
    Word space;
    const char spaceBytes[sizeof(Word)] = {0, 0, 0, 0, 0, 0, 0, ' '};
    std::memcpy(&space, spaceBytes, sizeof space);
    for (int i = 0; i < tailCount; ++i) halves.tails[i] = half(style, 5, 7, i) | space;
    return halves;
}

}  // namespace

SequenceCount writeSequenceMatrix(MatrixFile& file, ColumnCount columns, SequenceStyle style) {
    const Halves halves = makeHalves(style);
    // The line being formed lives in the file's buffer; every pass reserves room for one head's
    // sequences as though each ended a line.
    constexpr std::size_t passBound = tailCount * (textSize + separatorSize + lineEndSize);
    ColumnCount pending = 0;
    SequenceCount count = 0;
    for (const Word head : halves.heads) {
        char* out = file.reserve(passBound);
        for (const Word tail : halves.tails) {
            ++pending;
            const Word text = head | tail;
            std::memcpy(out, &text, sizeof text);
            out[sizeof text] = ' ';
            out += textSize + separatorSize;
            if (pending >= columns) {
                pending = 0;
                std::memcpy(out, "\r\n", lineEndSize);
                out += lineEndSize;
            }
            ++count;
        }
        file.commit(out);
    }
    if (pending > 0) {
        char* out = file.reserve(lineEndSize);
        std::memcpy(out, "\r\n", lineEndSize);
        file.commit(out + lineEndSize);
    }
    file.flush();
    return count;
}

}  // namespace heptanote
