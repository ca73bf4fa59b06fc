#pragma once
// C3DModel: one polygon model of the river renderer: at most 30 vertices and 16 flat-coloured
// triangles or quads, with a position in the world. A model is read from a model text (see
// 3DModelText.cpp) or made from three coordinate tables (the ground tile, the horizon probe
// and the marker quad); the view (3DView.h) moves its vertices into the world and the camera,
// culls, sorts and draws its polygons.
#include <cstdint>
#include <string>

class C3DLegendEntry;
class CRecReader;

// A point of the renderer (a vertex or a position): x, y, z and a spare kept zero.
struct C3DPoint {
    double x = 0;
    double y = 0;
    double z = 0;
    double spare = 0;
};

struct C3DPolygon {
    static constexpr int16_t kMaxVertices = 4;

    int16_t vertexCount = 0;
    uint16_t colour = 0;     // palette index of its fill and outline
    uint16_t colourCopy = 0; // carried into the draw list beside the colour
    int16_t flags = 0;       // the colour word's top four bits; carried, never read by drawing
    int16_t spare0 = 0;
    int16_t visible = 1;
    int16_t spare1 = 1;
    int16_t culled = 0; // set by the view's culling for the current draw
    uint16_t indices[kMaxVertices] = {};
    double normalLength = 0; // length of the cross product of its first two edges
    // The river map's legend object this polygon stands for: drawn as its sprite.
    C3DLegendEntry* legend = nullptr;
    uint32_t spare2 = 0;
};

struct C3DModel {
    static constexpr int16_t kMaxVertices = 30;
    static constexpr int16_t kMaxPolygons = 16;

    int32_t number = 0; // from the view's model counter
    int16_t vertexCount = 0;
    C3DPoint model[kMaxVertices];  // as read, scaled
    C3DPoint world[kMaxVertices];  // model vertex + position, written at each draw
    C3DPoint camera[kMaxVertices]; // world vertex x the view matrix, written at each draw
    int16_t polygonCount = 0;
    C3DPolygon polygons[kMaxPolygons];
    double radius = 0; // largest distance of a model vertex from the model's origin
    int16_t scaleMarker = 1;
    C3DPoint position;
};

// The length of the normal b x a of the polygon's first two edges a = v1 - v0, b = v2 - v0.
double PolygonNormalLength(const C3DModel& model, const C3DPolygon& polygon);
// Sets the model's bounding radius and returns it.
double ComputeRadius(C3DModel& model);
// Sets every polygon's normal length and the model's radius.
void ComputeGeometry(C3DModel& model);

// Fills the model from the model text the reader holds, each coordinate times the scale; the
// number is left alone. False, with the reason in `error`, when the text breaks a rule: the
// model is then not to be used.
bool ReadModelText(CRecReader& reader, C3DModel& model, double scale, std::string& error);

// The coordinate tables of the built-in models, four vertices each: the ground tile (one map
// cell) that is also the horizon probe, and the marker quad that stands for a sprite.
struct C3DQuadTables {
    double xs[4];
    double ys[4];
    double zs[4];
};
inline constexpr C3DQuadTables kGroundTile{{0, 0, 16, 16}, {0, 0, 0, 0}, {0, 16, 16, 0}};
inline constexpr C3DQuadTables kMarkerQuad{{8, 8, 8, 8}, {0, 0, 0, 0}, {8, 8, 4, 4}};
