#pragma once
// Vector shapes for the characters that are pictures (degree and ohm signs,
// icons, battery outlines, the accent arc). A shape is an inside-test on the
// continuous cell plane, where pixel (i, j) covers [i, i+1) x [j, j+1) and y
// grows downwards; it is rasterised by supersampling.

#include "GlyphCanvas.h"

#include <functional>
#include <utility>
#include <vector>

using Shape = std::function<bool(double x, double y)>;

Shape Rect(double x0, double y0, double x1, double y1);
Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Shape Disk(double cx, double cy, double r);
Shape Ellipse(double cx, double cy, double rx, double ry);
// A ring between two radii, optionally without the sector centred on gapAngle
// (degrees, 0 = right, 90 = down) that spans gapWidth degrees.
Shape Ring(double cx, double cy, double rOuter, double rInner, double gapAngle = 0, double gapWidth = 0);
// A straight stroke with round ends.
Shape Stroke(double x0, double y0, double x1, double y1, double halfWidth);
Shape Polygon(std::vector<std::pair<double, double>> points);

Shape Union(std::vector<Shape> parts);
Shape Minus(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);

// Adds the shape's coverage to the canvas (8x8 samples per pixel).
void Paint(GlyphCanvas& canvas, const Shape& shape);
