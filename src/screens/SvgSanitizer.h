#pragma once

#include <QByteArray>
#include <optional>

namespace velawidget {

/// What one SVG logo may hold. A document over any of them is refused whole:
/// a logo cut short would show a misleading picture.
struct SvgLimits {
    qsizetype maxBytes = qsizetype{512} * 1024;
    int maxElements = 2000;
    int maxDepth = 24;
    qsizetype maxAttributeLength = qsizetype{64} * 1024;
    /// Qt's SVG reader is quadratic in the stops of one gradient.
    int maxStopsPerGradient = 64;
    int maxStops = 1024;
    /// A `use` may only name an element closed before it that holds no `use`
    /// itself, so drawing cost stays linear; these bound it further.
    int maxUses = 64;
    /// Gradients may borrow the stops of another through "#id"; chains stay short.
    int maxGradients = 128;
    /// Characters of titles, descriptions and style sheets together.
    qsizetype maxTextLength = qsizetype{16} * 1024;
    /// What drawing costs, counted before anything is drawn, each `use`
    /// counting the element it names once more: elements drawn, characters
    /// of text drawn (each one a glyph to shape and fill), and the length
    /// of path data (`d`, `points`) drawn.
    int maxDrawnElements = 2000;
    qsizetype maxGlyphs = 128;
    qsizetype maxPathData = qsizetype{32} * 1024;
};

/// A fresh SVG document holding only what a logo needs to draw: the shape,
/// text, gradient and clipping elements of SVG Tiny with their presentation
/// attributes. Everything that reaches outside the document (images,
/// `use`/`href` other than a same-document "#id", `url(...)` other than
/// "url(#id)", CSS imports), dash patterns (a short dash along a long path is
/// millions of dashes to draw), scripts, `foreignObject`, animation, DTDs,
/// entities, comments and processing instructions is left out. None when the
/// bytes are not a well-formed SVG document within the limits.
std::optional<QByteArray> sanitizeSvg(const QByteArray& bytes, const SvgLimits& limits = {});

/// Whether the bytes are meant as SVG (XML text), as opposed to a bitmap.
bool looksLikeSvg(const QByteArray& bytes);

}  // namespace velawidget
