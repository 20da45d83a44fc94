#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

// A flat shape given as a triangle mesh, with the closed outlines of its
// boundary. The outlines follow the triangles' winding: where all triangles
// turn the same way, an outer outline and the outline of a hole run in
// opposite senses, so a nonzero-winding fill leaves the holes empty.
class GeRegion : public BcObject
{
    BC_DECLARE_CLASS(GeRegion)
public:
    // vertices holds x and y of each vertex in turn, triangles three vertex
    // indices per triangle. With ownsArrays the region deletes both arrays
    // (they must come from new[]); otherwise they must outlive it, as the
    // static symbol tables do. The outlines are built at once.
    GeRegion(const double* vertices, int vertexCount, const int* triangles, int triangleCount,
             bool ownsArrays);
    ~GeRegion() override;

    GeRegion(const GeRegion&) = delete;
    GeRegion& operator=(const GeRegion&) = delete;

    // Appends the boundary outlines to contours: each one the vertex indices
    // of a closed outline, its last vertex joining back to its first. Each
    // outline starts along its first boundary edge in that edge's own
    // direction; at a vertex where more than two boundary edges meet it goes
    // on along the first free edge in triangle order.
    void buildContours();

    const double* vertices = nullptr;
    int vertexCount = 0;
    const int* triangles = nullptr;
    int triangleCount = 0;
    bool ownsArrays = false;
    BcArray<BcArray<int>*> contours;
};
