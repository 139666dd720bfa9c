#pragma once

#include "generation/sequence_types.hpp"

namespace heptanote {

class MatrixFile;

// Writes all 7^7 sequences to `file`, `columns` to a line, each followed by two spaces, in
// enumeration order (the first position changes slowest). Every byte has been handed to the
// operating system when it returns; the file stays open for the caller to close.
// Returns the number of sequences formed. Throws FileError when a write fails.
SequenceCount writeSequenceMatrix(MatrixFile& file, ColumnCount columns, SequenceStyle style);

}  // namespace heptanote
