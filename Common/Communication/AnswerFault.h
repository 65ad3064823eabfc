#pragma once
// The codes of answers that arrived but cannot be taken, and the bound on
// how long an answer may be. A device that sends such an answer is there,
// so neither is ever reported as silence.

namespace ZELL {

// The answer's form is wrong: a length field beyond what a fragment can
// carry, a header that does not echo its request, counts that do not fit.
constexpr unsigned long kErrorMalformedAnswer = 0x20200010;
// The answer announces more data than any service answers with.
constexpr unsigned long kErrorAnswerTooLong = 0x20200011;

// The longest answer data of any service: a register read of 65,535 words
// (its count is a 16-bit word) behind its 12 bytes of code, status and
// echoed arguments. Every other answer is shorter: a network parameter is
// at most 65,535 bytes behind 12, the lists and texts fit in a fragment.
constexpr unsigned int kMaxServiceAnswerSize = 12u + 2u * 65535u;

}
