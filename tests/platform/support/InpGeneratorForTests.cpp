// The synthetic SWMM input generator belongs to the benchmarks (bench/) and is in no library; the
// platform test program compiles it in through this file.
#include "bench/InpGenerator.cpp"
