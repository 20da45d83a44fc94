#pragma once

#include <cmath>

// The resonant two-pole low-pass of a voice, in transposed direct form.
struct SfLowPass
{
    static constexpr int highestCutoff = 13500; // absolute cents; above it the filter is off

    double inverseQ = 1.0;
    double a0 = 0.0;
    double a1 = 0.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double z1 = 0.0;
    double z2 = 0.0;
    bool active = false;

    // filterQ in centibels above the level at DC.
    void start(int filterQ, int cutoff, float rate)
    {
        inverseQ = 1.0 / std::pow(10.0, filterQ / 200.0);
        z1 = 0.0;
        z2 = 0.0;
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

    float process(float in)
    {
        double out = a0 * in + z1;
        z1 = a1 * in + z2 - b1 * out;
        z2 = a0 * in - b2 * out;
        return static_cast<float>(out);
    }
};
