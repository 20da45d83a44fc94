#pragma once

#include "foundation/BcArray.h"
#include "render/ReRenderer.h"

#include <map>
#include <tuple>

class GeRegion;
class MnSheetMusic;
struct _HPDF_Doc_Rec;
struct _HPDF_Dict_Rec;

// Writes sheet-music pages into PDF files through libharu. Shapes become
// filled paths in black; a symbol mesh is turned into its outline once per
// file and filled with the nonzero rule, so symbols come out as clean
// outlines. Each distinct outline (a symbol's, or an ellipse's of given
// radii, angle and segments) is written once as a form and placed with a
// matrix wherever it is drawn. Text uses the base-14 fonts.
//
// Drawing units are millimetres; the pages carry one transform to points,
// so a page of 210 x 297 units is an A4 page.
class RePDF : public ReRenderer
{
    BC_DECLARE_CREATABLE_CLASS(RePDF)
public:
    RePDF();
    ~RePDF() override;

    // Every page of the chosen sheets (those in this renderer's selection,
    // else every sheet of the document) into one file, each sheet spread
    // out for the export. False when there is no sheet, when a page was
    // refused or when the file could not be written; the file at path is
    // then the one that was there before.
    bool exportDocument(const BcString& path, QuorvaneDocument* document);
    // The first page of a sheet as blank manuscript paper.
    bool exportSheetPage(const BcString& path, MnSheetMusic* sheet, int clefMode, int measuresPerSystem);

    // The steps of an export, for callers that compose pages of their own:
    // open a document, add each page (width x height units) and draw it,
    // then save. closeDocument drops the document without saving. Drawing
    // maps the view box set by the frame (ReRenderer::setView) onto the
    // page.
    bool openDocument();
    bool addPage(double width, double height);
    bool saveDocument(const BcString& path);
    void closeDocument();

    // How many symbol outlines and forms the open document holds.
    int meshOutlineCount() const { return meshRegions.count(); }
    int formCount() const { return formsWritten; }

    bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
               double pixelHeight) override;
    void end(double pixelWidth, double pixelHeight) override;
    void setColor(int r, int g, int b, int a) override;
    void fillQuad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) override;
    void fillMesh(const double* vertices, int vertexCount, const int* triangles, int triangleCount, double x,
                  double y, double sx, double sy) override;
    void fillEllipse(double centreX, double centreY, double radiusX, double radiusY, double angle,
                     int segmentCount) override;
    void strokeCurve(const GeSpline2d* curve, double endWidth, double middleWidth) override;
    void strokeArc(double x1, double y1, double x2, double y2, double bulge, double endWidth,
                   double middleWidth) override;
    void drawDashedRect(double x1, double y1, double x2, double y2) override;
    void drawText(const BcString& text, double x, double y, double size, int font, bool underline) override;
    void setClip(bool on, double minimumX) override;

    // The base-14 font of a font number; Times-Roman outside 0 to 11.
    static const char* fontName(int font);

private:
    // A drawing point mapped through the top transform onto the page.
    GePoint2d toPage(double x, double y) const;
    void moveTo(const GePoint2d& p);
    void lineTo(const GePoint2d& p);
    void closeAndFill();
    // Places a form with the matrix that maps its units onto the page.
    void placeForm(_HPDF_Dict_Rec* form, const GeMatrix2d& placement);
    // The matrix from local units at (x, y) scaled by (sx, sy) to the page.
    GeMatrix2d placementAt(double x, double y, double sx, double sy) const;
    _HPDF_Dict_Rec* newForm(double left, double bottom, double right, double top);
    _HPDF_Dict_Rec* meshForm(const double* vertices, int vertexCount, const int* triangles, int triangleCount);
    _HPDF_Dict_Rec* ellipseForm(double radiusX, double radiusY, double angle, int segmentCount);
    void clearCaches();

    _HPDF_Doc_Rec* document = nullptr;
    _HPDF_Dict_Rec* page = nullptr;
    bool pageRefused = false;
    // One outline per distinct mesh, keyed by its triangle array, and its form.
    BcArray<GeRegion*> meshRegions;
    BcArray<const int*> meshKeys;
    BcArray<_HPDF_Dict_Rec*> meshForms;
    std::map<std::tuple<double, double, double, int>, _HPDF_Dict_Rec*> ellipseForms;
    int formsWritten = 0;
};
