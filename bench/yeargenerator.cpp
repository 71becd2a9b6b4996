// The year-file generator is shared with the tests, which check the summary
// lists on the same kind of file the benchmark measures.
#include "../tests/support/yeargenerator.cpp"
