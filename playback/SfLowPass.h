#pragma once

#include <cmath>


// The resonant two-pole low-pass of a voice. Its recursion runs as
// y = a0 (x + 2 x1 + x2) - b1 y1 - b2 y2, the same filter as the transposed
// direct form with a1 = 2 a0, but with one multiply and one subtraction
// between an output and the next, where the transposed form has three steps:
// the filter's feedback is what limits how fast a voice renders.
struct SfLowPass
{
    static constexpr int highestCutoff = 13500; // absolute cents; above it the filter is off

    double inverseQ = 1.0;
    double a0 = 0.0;
    double a1 = 0.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double x1 = 0.0;
    double x2 = 0.0;
    double y1 = 0.0;
    double y2 = 0.0;
    bool active = false;

    // filterQ in centibels above the level at DC.
    void start(int filterQ, int cutoff, float rate)
    {
        inverseQ = 1.0 / std::pow(10.0, filterQ / 200.0);
        x1 = x2 = y1 = y2 = 0.0;
        active = cutoff <= highestCutoff;
        if (active)
            setCutoff(cutoff, rate);
    }

    void setCutoff(double cents, float rate)
    {
        // Below half the output rate, where the coefficients stay stable
        // whatever the rate.
        double f = std::fmin(8.176 * std::exp2(cents / 1200.0) / rate, 0.49);
        double k = std::tan(3.14159265358979323846 * f);
        double norm = 1.0 / (1.0 + k * inverseQ + k * k);
        a0 = k * k * norm;
        a1 = 2.0 * a0;
        b1 = 2.0 * (k * k - 1.0) * norm;
        b2 = (1.0 - k * inverseQ + k * k) * norm;
    }

    // Filters count values in place.
    void processBlock(float* values, int count)
    {
        for (int k = 0; k < count; ++k) {
            double x = values[k];
            double y = a0 * (x + x2) + a1 * x1 - b2 * y2 - b1 * y1;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            values[k] = static_cast<float>(y);
        }
    }

    static constexpr int lanes = 4;
    static constexpr int longestBlock = 64;

    // Filters the values of up to four voices side by side, each in place:
    // one voice's feedback keeps the processor waiting between outputs,
    // four independent ones keep it busy.
    static void processSideBySide(SfLowPass* const* filters, float* const* values, const int* counts, int used);
};
