#include "render/RePDF.h"

#include "editing/EdScoreFile.h"
#include "foundation/BcClassManager.h"
#include "foundation/GeRegion.h"
#include "foundation/GeSpline2d.h"
#include "model/MnCache.h"
#include "model/MnSheetMusic.h"
#include "render/ReExportSheets.h"
#include "render/ReFontMetrics.h"
#include "render/ReShapes.h"

#include <hpdf.h>
#include <hpdf_objects.h>
#include <hpdf_streams.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

BC_IMPLEMENT_CREATABLE_CLASS(RePDF)

// Drawing units are millimetres, PDF units points.
static constexpr double pointsPerUnit = 72.0 / 25.4;

// The em of a text of size s is s / 2.8 units: size 28 is a 10 mm em.
static constexpr double sizePerEm = 2.8;

RePDF::RePDF()
{
    outputKind = 1;
}

RePDF::~RePDF()
{
    closeDocument();
}

const char* RePDF::fontName(int font)
{
    static const char* const names[ReFontMetrics::fontCount] = {
        "Times-Roman",     "Times-Bold",        "Times-Italic",      "Times-BoldItalic",
        "Helvetica",       "Helvetica-Bold",    "Helvetica-Oblique", "Helvetica-BoldOblique",
        "Courier",         "Courier-Bold",      "Courier-Oblique",   "Courier-BoldOblique"};
    return font >= 0 && font < ReFontMetrics::fontCount ? names[font] : names[0];
}

void RePDF::clearCaches()
{
    for (int i = 0; i < meshRegions.count(); ++i)
        delete meshRegions[i];
    meshRegions.removeAll();
    meshKeys.removeAll();
    meshForms.removeAll();
    ellipseForms.clear();
    formsWritten = 0;
}

bool RePDF::openDocument()
{
    closeDocument();
    HPDF_Doc pdf = HPDF_New(nullptr, nullptr);
    if (!pdf)
        return false;
    // Starting a document resets its compression, encoder and information;
    // they are set after it.
    bool ok = HPDF_NewDoc(pdf) == HPDF_OK && HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL) == HPDF_OK
           && HPDF_SetCurrentEncoder(pdf, "CP1252") == HPDF_OK
           && HPDF_SetInfoAttr(pdf, HPDF_INFO_PRODUCER, "Quorvane") == HPDF_OK;
    if (!ok) {
        HPDF_Free(pdf);
        return false;
    }
    document = pdf;
    page = nullptr;
    pageRefused = false;
    return true;
}

void RePDF::closeDocument()
{
    if (document)
        HPDF_Free(document);
    document = nullptr;
    page = nullptr;
    clearCaches();
}

bool RePDF::addPage(double width, double height)
{
    if (!document)
        return false;
    page = HPDF_AddPage(document);
    bool ok = page && HPDF_Page_SetWidth(page, HPDF_REAL(width * pointsPerUnit)) == HPDF_OK
           && HPDF_Page_SetHeight(page, HPDF_REAL(height * pointsPerUnit)) == HPDF_OK
           && HPDF_Page_Concat(page, HPDF_REAL(pointsPerUnit), 0, 0, HPDF_REAL(pointsPerUnit), 0, 0) == HPDF_OK;
    if (!ok) {
        // The library keeps refusing after an error until it is reset; the
        // other pages still go into the file.
        pageRefused = true;
        HPDF_ResetError(document);
    }
    return ok;
}

bool RePDF::saveDocument(const BcString& path)
{
    if (!document || HPDF_SaveToStream(document) != HPDF_OK)
        return false;
    HPDF_UINT32 size = HPDF_GetStreamSize(document);
    std::vector<unsigned char> bytes(size);
    HPDF_ResetStream(document);
    HPDF_UINT32 done = 0;
    while (done < size) {
        HPDF_UINT32 chunk = size - done;
        HPDF_STATUS status = HPDF_ReadFromStream(document, bytes.data() + done, &chunk);
        done += chunk;
        if ((status != HPDF_OK && status != HPDF_STREAM_EOF) || chunk == 0)
            break;
    }
    // The file is written beside the old one and renamed over it.
    return done == size && EdScoreFile::writeFile(path, bytes.data(), int(size));
}

bool RePDF::exportDocument(const BcString& path, QuorvaneDocument* source)
{
    ReExportSheets sheets(*this, source);
    if (sheets.count() == 0 || !openDocument())
        return false;
    {
        MnCache cache;
        sheets.forEachPage([&](MnSheetMusic* sheet, const GePoint2d& origin) {
            const double width = sheet->pageWidth();
            const double height = sheet->pageHeight();
            addPage(width, height);
            render(source, origin.x + width / 2, origin.y - height / 2, width, width, height, 0, 0);
        });
    }
    bool ok = !pageRefused && saveDocument(path);
    closeDocument();
    return ok;
}

bool RePDF::exportSheetPage(const BcString& path, MnSheetMusic* sheet, int clefMode, int measuresPerSystem)
{
    if (!sheet || !openDocument())
        return false;
    GePoint2d origin;
    if (ReExportSheets::pageOrigin(sheet, 0, origin)) {
        const double width = sheet->pageWidth();
        const double height = sheet->pageHeight();
        addPage(width, height);
        renderSheetPage(sheet, clefMode, measuresPerSystem, origin.x + width / 2, origin.y - height / 2, width,
                        width, height);
    }
    bool ok = !pageRefused && saveDocument(path);
    closeDocument();
    return ok;
}

bool RePDF::begin(QuorvaneDocument*, double, double, double, double)
{
    return true;
}

void RePDF::end(double, double) {}

void RePDF::setColor(int, int, int, int) {}

void RePDF::drawDashedRect(double, double, double, double) {}

void RePDF::setClip(bool, double) {}

GePoint2d RePDF::toPage(double x, double y) const
{
    GePoint2d p = topTransform().transform(GePoint2d(x, y));
    return GePoint2d(p.x - viewTopLeft.x, p.y - viewBottomRight.y);
}

void RePDF::moveTo(const GePoint2d& p)
{
    HPDF_Page_MoveTo(page, HPDF_REAL(p.x), HPDF_REAL(p.y));
}

void RePDF::lineTo(const GePoint2d& p)
{
    HPDF_Page_LineTo(page, HPDF_REAL(p.x), HPDF_REAL(p.y));
}

void RePDF::closeAndFill()
{
    HPDF_Page_ClosePath(page);
    HPDF_Page_Fill(page);
}

void RePDF::fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4)
{
    if (!page)
        return;
    moveTo(toPage(x1, y1));
    lineTo(toPage(x2, y2));
    lineTo(toPage(x3, y3));
    lineTo(toPage(x4, y4));
    closeAndFill();
}

GeMatrix2d RePDF::placementAt(double x, double y, double sx, double sy) const
{
    // The composers' transforms are scales and translations: the product
    // stays affine, as a form's matrix must be.
    GeMatrix2d local(sx, 0, x, 0, sy, y, 0, 0, 1);
    return GeMatrix2d::translation(-viewTopLeft.x, -viewBottomRight.y) * topTransform() * local;
}

void RePDF::placeForm(_HPDF_Dict_Rec* form, const GeMatrix2d& m)
{
    HPDF_Page_GSave(page);
    HPDF_Page_Concat(page, HPDF_REAL(m.m00), HPDF_REAL(m.m10), HPDF_REAL(m.m01), HPDF_REAL(m.m11),
                     HPDF_REAL(m.m02), HPDF_REAL(m.m12));
    HPDF_Page_ExecuteXObject(page, form);
    HPDF_Page_GRestore(page);
}

_HPDF_Dict_Rec* RePDF::newForm(double left, double bottom, double right, double top)
{
    HPDF_Dict form = HPDF_DictStream_New(document->mmgr, document->xref);
    if (!form)
        return nullptr;
    form->header.obj_class |= HPDF_OSUBCLASS_XOBJECT;
    // A little room, so the edge of an outline is never cut by its box.
    const double margin = 0.01 * std::max(right - left, top - bottom) + 1e-3;
    HPDF_Box box = {HPDF_REAL(left - margin), HPDF_REAL(bottom - margin), HPDF_REAL(right + margin),
                    HPDF_REAL(top + margin)};
    bool ok = HPDF_Dict_AddName(form, "Type", "XObject") == HPDF_OK
           && HPDF_Dict_AddName(form, "Subtype", "Form") == HPDF_OK
           && HPDF_Dict_Add(form, "BBox", HPDF_Box_Array_New(document->mmgr, box)) == HPDF_OK
           && HPDF_Dict_Add(form, "Resources", HPDF_Dict_New(document->mmgr)) == HPDF_OK;
    if (!ok)
        return nullptr;
    if (document->compression_mode & HPDF_COMP_TEXT)
        form->filter = HPDF_STREAM_FILTER_FLATE_DECODE;
    ++formsWritten;
    return form;
}

static void writePoint(HPDF_Stream stream, double x, double y, const char* op)
{
    HPDF_Stream_WriteReal(stream, HPDF_REAL(x));
    HPDF_Stream_WriteChar(stream, ' ');
    HPDF_Stream_WriteReal(stream, HPDF_REAL(y));
    HPDF_Stream_WriteStr(stream, op);
}

_HPDF_Dict_Rec* RePDF::meshForm(const double* vertices, int vertexCount, const int* triangles, int triangleCount)
{
    // The last cached outline of this triangle array.
    for (int i = meshKeys.count() - 1; i >= 0; --i) {
        if (meshKeys[i] == triangles)
            return meshForms[i];
    }
    GeRegion* region = new GeRegion(vertices, vertexCount, triangles, triangleCount, false);
    double left = DBL_MAX, bottom = DBL_MAX, right = -DBL_MAX, top = -DBL_MAX;
    for (int v = 0; v < vertexCount; ++v) {
        left = std::min(left, vertices[2 * v]);
        right = std::max(right, vertices[2 * v]);
        bottom = std::min(bottom, vertices[2 * v + 1]);
        top = std::max(top, vertices[2 * v + 1]);
    }
    HPDF_Dict form = vertexCount > 0 ? newForm(left, bottom, right, top) : nullptr;
    if (form) {
        for (int c = 0; c < region->contours.count(); ++c) {
            const BcArray<int>& contour = *region->contours[c];
            for (int k = 0; k < contour.count(); ++k) {
                int v = contour[k];
                writePoint(form->stream, vertices[2 * v], vertices[2 * v + 1], k == 0 ? " m\n" : " l\n");
            }
            HPDF_Stream_WriteStr(form->stream, "h\n");
        }
        // One fill for all contours: the holes, which run the other way
        // round, stay empty under the nonzero rule.
        HPDF_Stream_WriteStr(form->stream, "f\n");
    }
    meshRegions.add(region);
    meshKeys.add(triangles);
    meshForms.add(form);
    return form;
}

void RePDF::fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                     double y, double sx, double sy)
{
    if (!page || !vertices || !triangles || vertexCount <= 0 || triangleCount <= 0)
        return;
    if (HPDF_Dict form = meshForm(vertices, vertexCount, triangles, triangleCount))
        placeForm(form, placementAt(x, y, sx, sy));
}

_HPDF_Dict_Rec* RePDF::ellipseForm(double radiusX, double radiusY, double angle, int segmentCount)
{
    auto key = std::make_tuple(radiusX, radiusY, angle, segmentCount);
    auto found = ellipseForms.find(key);
    if (found != ellipseForms.end())
        return found->second;
    double extent = std::max(std::fabs(radiusX), std::fabs(radiusY));
    HPDF_Dict form = newForm(-extent, -extent, extent, extent);
    if (form) {
        for (int i = 0; i < segmentCount; ++i) {
            GePoint2d p = ReShapes::ellipsePoint(i, segmentCount, radiusX, radiusY, angle);
            writePoint(form->stream, p.x, p.y, i == 0 ? " m\n" : " l\n");
        }
        HPDF_Stream_WriteStr(form->stream, "h\nf\n");
    }
    ellipseForms[key] = form;
    return form;
}

void RePDF::fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                        int segmentCount)
{
    if (!page || segmentCount < 3)
        return;
    if (HPDF_Dict form = ellipseForm(radiusX, radiusY, angle, segmentCount))
        placeForm(form, placementAt(centreX, centreY, 1, 1));
}

void RePDF::strokeCurve(const GeSpline2d* curve, double endWidth, double middleWidth)
{
    if (!page || !curve)
        return;
    const int maxSegments = 32;
    GePoint2d left[maxSegments + 1];
    GePoint2d right[maxSegments + 1];
    int n = std::min(ReShapes::curveSegments(viewWidth, *curve, false), maxSegments);
    if (!ReShapes::curveBand(*curve, n, endWidth, middleWidth, left, right))
        return;
    // Along one side and back along the other.
    moveTo(toPage(left[0].x, left[0].y));
    for (int k = 1; k <= n; ++k)
        lineTo(toPage(left[k].x, left[k].y));
    for (int k = n; k >= 0; --k)
        lineTo(toPage(right[k].x, right[k].y));
    closeAndFill();
}

void RePDF::strokeArc(double x1, double y1, double x2, double y2, double bulge, double endWidth, double middleWidth)
{
    GeArc outer, inner;
    if (!page || !ReShapes::arcBoundaries(x1, y1, x2, y2, bulge, endWidth, middleWidth, &outer, &inner))
        return;
    const int last = ReShapes::arcPoints - 1;
    for (int k = 0; k <= last; ++k) {
        GePoint2d p = ReShapes::arcPoint(outer, double(k) / last);
        if (k == 0)
            moveTo(toPage(p.x, p.y));
        else
            lineTo(toPage(p.x, p.y));
    }
    for (int k = last; k >= 0; --k) {
        GePoint2d p = ReShapes::arcPoint(inner, double(k) / last);
        lineTo(toPage(p.x, p.y));
    }
    closeAndFill();
}

void RePDF::drawText(const BcString& text, double x, double y, double size, int font, bool underline)
{
    if (!page || text.isEmpty())
        return;
    if (font < 0 || font >= ReFontMetrics::fontCount)
        font = 0;
    GePoint2d at = toPage(x, y);
    double mappedSize = ReShapes::mappedLength(topTransform(), size);

    // The fonts are encoded in Windows-1252; what it lacks becomes '?'.
    const char* western = text.toNarrow(BcString::westernCodePage);
    HPDF_Font pdfFont = HPDF_GetFont(document, fontName(font), "CP1252");
    if (!pdfFont) {
        HPDF_ResetError(document);
        return;
    }
    HPDF_Page_SetFontAndSize(page, pdfFont, HPDF_REAL(mappedSize / sizePerEm));
    HPDF_Page_BeginText(page);
    HPDF_Page_TextOut(page, HPDF_REAL(at.x), HPDF_REAL(at.y), western);
    HPDF_Page_EndText(page);

    if (!underline)
        return;
    HPDF_TextWidth width = HPDF_Font_TextWidth(pdfFont, reinterpret_cast<const HPDF_BYTE*>(western),
                                               HPDF_UINT(std::char_traits<char>::length(western)));
    if (width.width == 0)
        return;
    // In local units, like the text, so it is mapped like every quad.
    double length = width.width * (size / sizePerEm) / 1000.0;
    double r = ReFontMetrics::underlineHalfThickness(size, font);
    double base = ReFontMetrics::shared().underlineTop(size, font) + y;
    fillQuad(x, base, x, base - 2 * r, x + length, base - 2 * r, x + length, base);
}
