#include "foundation/GeRegion.h"

#include <algorithm>
#include <vector>

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CLASS(GeRegion)

GeRegion::GeRegion(const double* vertices, int vertexCount, const int* triangles, int triangleCount,
                   bool ownsArrays)
    : vertices(vertices), vertexCount(vertexCount), triangles(triangles),
      triangleCount(triangleCount), ownsArrays(ownsArrays)
{
    buildContours();
}

GeRegion::~GeRegion()
{
    for (int i = 0; i < contours.count(); ++i)
        delete contours[i];
    if (ownsArrays) {
        delete[] vertices;
        delete[] triangles;
    }
}

namespace {

struct MeshEdge {
    int first;
    int second;
    int triangle;
    int low() const { return std::min(first, second); }
    int high() const { return std::max(first, second); }
};

struct EdgeEnd {
    int vertex;
    int edge;
    bool operator<(const EdgeEnd& other) const
    {
        return vertex != other.vertex ? vertex < other.vertex : edge < other.edge;
    }
};

} // namespace

// The edges of the boundary in triangle order, each in its triangle's
// direction: an edge is on the boundary when no other triangle has the same
// two vertex indices. Sorting the edges by their vertex pair finds the
// shared ones in n log n instead of comparing every triangle with every
// other; large symbol meshes and page-sized collections stay cheap.
static std::vector<MeshEdge> boundaryEdges(const int* triangles, int triangleCount)
{
    std::vector<MeshEdge> edges;
    edges.reserve(3 * static_cast<size_t>(triangleCount));
    for (int t = 0; t < triangleCount; ++t) {
        const int* corner = triangles + 3 * static_cast<size_t>(t);
        edges.push_back({corner[0], corner[1], t});
        edges.push_back({corner[1], corner[2], t});
        edges.push_back({corner[2], corner[0], t});
    }

    std::vector<int> byPair(edges.size());
    for (size_t i = 0; i < byPair.size(); ++i)
        byPair[i] = static_cast<int>(i);
    std::sort(byPair.begin(), byPair.end(), [&edges](int l, int r) {
        const MeshEdge& a = edges[l];
        const MeshEdge& b = edges[r];
        if (a.low() != b.low())
            return a.low() < b.low();
        if (a.high() != b.high())
            return a.high() < b.high();
        return a.triangle < b.triangle;
    });

    // Within a run of equal pairs the triangles are sorted, so the run is
    // shared by two triangles exactly when its first and last differ; the two
    // edges of a degenerate triangle that coincide do not count as shared.
    std::vector<char> shared(edges.size(), 0);
    for (size_t runStart = 0; runStart < byPair.size();) {
        const MeshEdge& head = edges[byPair[runStart]];
        size_t runEnd = runStart + 1;
        while (runEnd < byPair.size() && edges[byPair[runEnd]].low() == head.low()
               && edges[byPair[runEnd]].high() == head.high())
            ++runEnd;
        if (edges[byPair[runEnd - 1]].triangle != head.triangle) {
            for (size_t i = runStart; i < runEnd; ++i)
                shared[byPair[i]] = 1;
        }
        runStart = runEnd;
    }

    std::vector<MeshEdge> boundary;
    for (size_t i = 0; i < edges.size(); ++i) {
        if (!shared[i])
            boundary.push_back(edges[i]);
    }
    return boundary;
}

void GeRegion::buildContours()
{
    if (triangles == nullptr || triangleCount <= 0)
        return;

    const std::vector<MeshEdge> edges = boundaryEdges(triangles, triangleCount);
    const int edgeCount = static_cast<int>(edges.size());

    // Both ends of every edge, sorted by vertex and then by edge index: the
    // free edges at a vertex are then found in edge-list order, and each
    // vertex keeps a cursor past the edges already taken, so the chaining is
    // linear instead of a scan of the whole list per step.
    std::vector<EdgeEnd> ends;
    ends.reserve(2 * edges.size());
    for (int e = 0; e < edgeCount; ++e) {
        ends.push_back({edges[e].first, e});
        ends.push_back({edges[e].second, e});
    }
    std::sort(ends.begin(), ends.end());
    std::vector<int> cursor(ends.size());
    for (size_t i = 0; i < ends.size(); ++i)
        cursor[i] = static_cast<int>(i);

    std::vector<char> taken(edges.size(), 0);
    auto nextFreeEdgeAt = [&](int vertex) -> int {
        const auto runStart = std::lower_bound(ends.begin(), ends.end(), EdgeEnd{vertex, -1});
        const int run = static_cast<int>(runStart - ends.begin());
        if (run == static_cast<int>(ends.size()))
            return -1;
        int i = cursor[run];
        while (i < static_cast<int>(ends.size()) && ends[i].vertex == vertex && taken[ends[i].edge])
            ++i;
        cursor[run] = i;
        if (i < static_cast<int>(ends.size()) && ends[i].vertex == vertex)
            return ends[i].edge;
        return -1;
    };

    int firstFree = 0;
    while (true) {
        while (firstFree < edgeCount && taken[firstFree])
            ++firstFree;
        if (firstFree == edgeCount)
            break;

        taken[firstFree] = 1;
        BcArray<int>* contour = new BcArray<int>();
        contours.add(contour);
        contour->add(edges[firstFree].first);
        int end = edges[firstFree].second;

        for (int e = nextFreeEdgeAt(end); e >= 0; e = nextFreeEdgeAt(end)) {
            taken[e] = 1;
            contour->add(end);
            end = edges[e].first == end ? edges[e].second : edges[e].first;
        }
    }
}
