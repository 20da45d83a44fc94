#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "foundation/GeArc.h"
#include "foundation/GeMatrix2d.h"
#include "foundation/GeRegion.h"

// A flat ring of `segments` quads (two triangles each) with its hole: the
// shape of a large symbol mesh or of an ellipse outline in the 3-D relief.
static void ringMesh(int segments, std::vector<double>& vertices, std::vector<int>& triangles)
{
    vertices.clear();
    triangles.clear();
    for (int i = 0; i < segments; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / segments;
        vertices.push_back(10.0 * std::cos(angle));
        vertices.push_back(10.0 * std::sin(angle));
        vertices.push_back(6.0 * std::cos(angle));
        vertices.push_back(6.0 * std::sin(angle));
    }
    for (int i = 0; i < segments; ++i) {
        const int outer = 2 * i;
        const int inner = 2 * i + 1;
        const int nextOuter = 2 * ((i + 1) % segments);
        const int nextInner = nextOuter + 1;
        triangles.insert(triangles.end(), {outer, nextOuter, nextInner, outer, nextInner, inner});
    }
}

static void BM_RegionOutlines(benchmark::State& state)
{
    std::vector<double> vertices;
    std::vector<int> triangles;
    ringMesh(static_cast<int>(state.range(0)), vertices, triangles);
    const int triangleCount = static_cast<int>(triangles.size() / 3);
    for (auto _ : state) {
        GeRegion region(vertices.data(), static_cast<int>(vertices.size() / 2), triangles.data(),
                        triangleCount, false);
        benchmark::DoNotOptimize(region.contours.count());
    }
    state.SetItemsProcessed(state.iterations() * triangleCount);
}
BENCHMARK(BM_RegionOutlines)->Arg(16)->Arg(256)->Arg(4096);

// The renderers multiply a matrix onto their stack for every push.
static void BM_AffineProduct(benchmark::State& state)
{
    GeMatrix2d top = GeMatrix2d::scaling(3, 4, 1.5) * GeMatrix2d::translation(10, 20);
    const GeMatrix2d push = GeMatrix2d::scaling(1, 2, 0.999);
    for (auto _ : state) {
        top = top * push;
        benchmark::DoNotOptimize(top);
    }
}
BENCHMARK(BM_AffineProduct);

static void BM_ArcFromBulge(benchmark::State& state)
{
    double bulge = 0.3;
    for (auto _ : state) {
        const GeArc arc(GePoint2d(0, 0), GePoint2d(12.5, 3.0), bulge);
        benchmark::DoNotOptimize(arc.startAngle);
        bulge = -bulge;
    }
}
BENCHMARK(BM_ArcFromBulge);
