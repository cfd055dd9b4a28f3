#pragma once

// Elementary functions made of nothing but IEEE additions, multiplications,
// divisions and exact bit operations, so that every build on every system
// computes the very same doubles: the C runtimes of Linux and Windows round
// their exp, sin and log differently in the last bit, and feedback paths
// carry such a bit on into audible sample differences between builds.
//
// Each stays within 1e-15 of the exact value (relative; absolute for sine
// and cosine near their zeros) over the arguments the synth gives them:
// |x| <= 700 for StableExp, finite x > 0 for StableLog, |x| <= 1e5 for
// StableSin and StableCos. Outside them they stay finite but say nothing
// more. No errno, no exceptions.

double StableExp(double x);
double StableLog(double x);  // natural logarithm; 0 and below give -1e308
double StableSin(double x);
double StableCos(double x);

// 10^x, through StableExp: the rounding of x ln 10 makes its error grow with
// |x|, to 6e-15 at |x| = 12.
double StablePow10(double x);
