#include "tests/common/RecordingRenderer.h"

#include "foundation/GeSpline2d.h"
#include "render/ReFontMetrics.h"
#include "tests/common/TestCanvas.h"

#include <algorithm>
#include <cmath>
#include <sstream>

RecordingRenderer::RecordingRenderer() = default;

RecordingRenderer::~RecordingRenderer() = default;

RecordingRenderer::Call& RecordingRenderer::record(const char* name, std::vector<double> args)
{
    Call call;
    call.name = name;
    call.args = std::move(args);
    call.pickPath = pickPath;
    call.transform = topTransform();
    for (int i = 0; i < 4; ++i)
        call.color[i] = currentColor[i];
    call.extrusionHeight = extrusionHeight;
    calls.push_back(std::move(call));
    return calls.back();
}

bool RecordingRenderer::begin(QuorvaneDocument*, double centreX, double centreY, double pixelWidth,
                              double pixelHeight)
{
    record("begin", {centreX, centreY, pixelWidth, pixelHeight, beginResult ? 1.0 : 0.0});
    return beginResult;
}

void RecordingRenderer::end(double pixelWidth, double pixelHeight)
{
    record("end", {pixelWidth, pixelHeight});
}

void RecordingRenderer::markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element)
{
    record("markFrame", {outer.a.x, outer.a.y, outer.b.x, outer.b.y, inner.a.x, inner.a.y, inner.b.x, inner.b.y})
        .element = element;
}

void RecordingRenderer::markRect(const GePoint2d& corner, double width, double height, MnElement* element)
{
    record("markRect", {corner.x, corner.y, width, height}).element = element;
}

void RecordingRenderer::markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element)
{
    record("markSpan", {from.x, from.y, to.x, to.y}).element = element;
}

bool RecordingRenderer::isVisibleX(double x, double width, double margin)
{
    bool visible = ReRenderer::isVisibleX(x, width, margin);
    record("isVisibleX", {x, width, margin, visible ? 1.0 : 0.0});
    return visible;
}

bool RecordingRenderer::isVisible(double x, double y, double width, double height, double margin)
{
    bool visible = ReRenderer::isVisible(x, y, width, height, margin);
    record("isVisible", {x, y, width, height, margin, visible ? 1.0 : 0.0});
    return visible;
}

void RecordingRenderer::pushScale(double centreX, double centreY, double factor)
{
    record("pushScale", {centreX, centreY, factor});
    ReRenderer::pushScale(centreX, centreY, factor);
}

void RecordingRenderer::pushYRotation(double pivotX, double degrees)
{
    record("pushYRotation", {pivotX, degrees});
    ReRenderer::pushYRotation(pivotX, degrees);
}

void RecordingRenderer::popTransform()
{
    record("popTransform", {});
    ReRenderer::popTransform();
}

void RecordingRenderer::pushDepth(double z)
{
    record("pushDepth", {z});
}

void RecordingRenderer::popDepth()
{
    record("popDepth", {});
}

bool RecordingRenderer::measureText(const BcString& text, double size, int font, bool underline, double* x,
                                    double* y, double* width, double* height)
{
    bool measured = ReRenderer::measureText(text, size, font, underline, x, y, width, height);
    record("measureText", {size, double(font), underline ? 1.0 : 0.0, measured ? 1.0 : 0.0}).text = text;
    return measured;
}

void RecordingRenderer::setColor(int r, int g, int b, int a)
{
    currentColor[0] = r;
    currentColor[1] = g;
    currentColor[2] = b;
    currentColor[3] = a;
    record("setColor", {double(r), double(g), double(b), double(a)});
}

void RecordingRenderer::fillTexturedQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                         double y4)
{
    record("fillTexturedQuad", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void RecordingRenderer::fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                 double y4)
{
    record("fillQuad", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void RecordingRenderer::fillQuad3d(double x1, double y1, double z1, double x2, double y2, double z2, double x3,
                                   double y3, double z3, double x4, double y4, double z4)
{
    record("fillQuad3d", {x1, y1, z1, x2, y2, z2, x3, y3, z3, x4, y4, z4});
}

void RecordingRenderer::fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount,
                                 double x, double y, double sx, double sy)
{
    Call& call = record("fillMesh", {double(vertexCount), double(triangleCount), x, y, sx, sy});
    call.vertices = vertices;
    call.triangles = triangles;
}

void RecordingRenderer::fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                                    int segmentCount)
{
    record("fillEllipse", {centreX, centreY, radiusX, radiusY, angle, double(segmentCount)});
}

void RecordingRenderer::strokeCurve(const GeSpline2d* curve, double endWidth, double middleWidth)
{
    std::vector<double> args{endWidth, middleWidth};
    if (curve) {
        for (int i = 0; i < curve->points.count(); ++i) {
            args.push_back(curve->points[i].x);
            args.push_back(curve->points[i].y);
        }
    }
    record("strokeCurve", std::move(args));
}

void RecordingRenderer::strokeArc(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                                  double middleWidth)
{
    record("strokeArc", {x1, y1, x2, y2, bulge, endWidth, middleWidth});
}

void RecordingRenderer::drawDashedRect(double x1, double y1, double x2, double y2)
{
    record("drawDashedRect", {x1, y1, x2, y2});
}

void RecordingRenderer::drawGuideLine(const EdGuideLine* guide)
{
    record("drawGuideLine", {}).guide = guide;
}

void RecordingRenderer::drawText(const BcString& text, double x, double y, double size, int font, bool underline)
{
    record("drawText", {x, y, size, double(font), underline ? 1.0 : 0.0}).text = text;
}

void RecordingRenderer::setClip(bool on, double minimumX)
{
    record("setClip", {on ? 1.0 : 0.0, minimumX});
}

std::vector<const RecordingRenderer::Call*> RecordingRenderer::callsNamed(const std::string& name) const
{
    std::vector<const Call*> found;
    for (const Call& call : calls)
        if (call.name == name)
            found.push_back(&call);
    return found;
}

int RecordingRenderer::countOf(const std::string& name) const
{
    return int(callsNamed(name).size());
}

std::string RecordingRenderer::transcript() const
{
    std::ostringstream out;
    for (const Call& call : calls) {
        out << call.name << "(";
        for (size_t i = 0; i < call.args.size(); ++i)
            out << (i ? ", " : "") << call.args[i];
        if (!call.text.isEmpty())
            out << (call.args.empty() ? "\"" : ", \"") << call.text.toNarrow(BcString::utf8CodePage) << "\"";
        out << ")\n";
    }
    return out.str();
}

void RecordingRenderer::paint(TestCanvas& canvas, double left, double top, double right, double bottom) const
{
    double scaleX = canvas.width() / (right - left);
    double scaleY = canvas.height() / (top - bottom);
    auto toCanvas = [&](const GeMatrix2d& transform, double x, double y, double* px, double* py) {
        GePoint2d world = transform.transform(GePoint2d(x, y));
        *px = (world.x - left) * scaleX;
        *py = (top - world.y) * scaleY;
    };
    for (const Call& call : calls) {
        auto r = uint8_t(call.color[0]), g = uint8_t(call.color[1]), b = uint8_t(call.color[2]);
        const std::vector<double>& a = call.args;
        if (call.name == "fillQuad" || call.name == "fillTexturedQuad" || call.name == "fillQuad3d") {
            // y negated: the canvas draws meshes y-up about an origin. The
            // depth of a 3-D quad is dropped, as flat back ends do.
            const size_t stride = call.name == "fillQuad3d" ? 3 : 2;
            double corners[8];
            for (int k = 0; k < 4; ++k) {
                toCanvas(call.transform, a[stride * size_t(k)], a[stride * size_t(k) + 1], &corners[2 * k],
                         &corners[2 * k + 1]);
                corners[2 * k + 1] = -corners[2 * k + 1];
            }
            const int triangles[6] = {0, 1, 2, 0, 2, 3};
            canvas.fillMesh(corners, triangles, 2, 0, 0, 1, r, g, b);
        } else if (call.name == "fillMesh") {
            int vertexCount = int(a[0]);
            int triangleCount = int(a[1]);
            std::vector<double> mapped(size_t(2 * vertexCount));
            for (int v = 0; v < vertexCount; ++v) {
                double px, py;
                toCanvas(call.transform, a[2] + a[4] * call.vertices[2 * v], a[3] + a[5] * call.vertices[2 * v + 1],
                         &px, &py);
                // The canvas draws meshes y-up about an origin; hand it
                // canvas pixels with y negated.
                mapped[size_t(2 * v)] = px;
                mapped[size_t(2 * v + 1)] = -py;
            }
            canvas.fillMesh(mapped.data(), call.triangles, triangleCount, 0, 0, 1, r, g, b);
        } else if (call.name == "fillEllipse") {
            int count = int(a[5]);
            double angle = a[4] * M_PI / 180;
            std::vector<double> points;
            std::vector<int> fan;
            for (int i = 0; i < count; ++i) {
                double t = 2 * M_PI * i / count;
                double x = std::sin(t) * a[2], y = std::cos(t) * a[3];
                double rx = x * std::cos(angle) - y * std::sin(angle);
                double ry = x * std::sin(angle) + y * std::cos(angle);
                double px, py;
                toCanvas(call.transform, a[0] + rx, a[1] + ry, &px, &py);
                points.push_back(px);
                points.push_back(-py);
                if (i >= 2)
                    fan.insert(fan.end(), {0, i - 1, i});
            }
            canvas.fillMesh(points.data(), fan.data(), int(fan.size() / 3), 0, 0, 1, r, g, b);
        } else if (call.name == "strokeCurve" && a.size() >= 4) {
            // A band along the curve, as wide as the end width at both ends
            // and the middle width half way.
            BcArray<GePoint2d> controls;
            for (size_t i = 2; i + 1 < a.size(); i += 2)
                controls.add(GePoint2d(a[i], a[i + 1]));
            const int samples = 32;
            std::vector<double> band;
            std::vector<int> strip;
            for (int i = 0; i <= samples; ++i) {
                double u = double(i) / samples;
                GePoint2d at = GeSpline2d::pointAt(controls, u);
                GePoint2d ahead = GeSpline2d::pointAt(controls, std::min(1.0, u + 1e-3));
                GePoint2d behind = GeSpline2d::pointAt(controls, std::max(0.0, u - 1e-3));
                double dx = ahead.x - behind.x, dy = ahead.y - behind.y;
                double length = std::hypot(dx, dy);
                if (length <= 0)
                    length = 1;
                double half = (a[0] + (a[1] - a[0]) * 4 * u * (1 - u)) / 2;
                for (double side : {-1.0, 1.0}) {
                    double px, py;
                    toCanvas(call.transform, at.x - side * half * dy / length, at.y + side * half * dx / length, &px,
                             &py);
                    band.push_back(px);
                    band.push_back(-py);
                }
                if (i > 0) {
                    int k = 2 * i;
                    strip.insert(strip.end(), {k - 2, k - 1, k, k - 1, k + 1, k});
                }
            }
            canvas.fillMesh(band.data(), strip.data(), int(strip.size() / 3), 0, 0, 1, r, g, b);
        } else if (call.name == "drawText") {
            const ReFontMetrics& metrics = ReFontMetrics::shared();
            int font = metrics.usableFont(int(a[3]));
            double px, py;
            toCanvas(call.transform, a[0], a[1], &px, &py);
            double em = a[2] * metrics.textScale() * scaleY * std::fabs(call.transform.m11);
            canvas.drawText(metrics.fontFile(font), metrics.faceIndex(font), call.text.chars(), call.text.length(), px,
                            py, em, r, g, b);
        }
    }
}
