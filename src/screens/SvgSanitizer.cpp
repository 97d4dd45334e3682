#include "screens/SvgSanitizer.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <utility>
#include <vector>

namespace velawidget {
namespace {

const QString svgNamespace = QStringLiteral("http://www.w3.org/2000/svg");
const QString xlinkNamespace = QStringLiteral("http://www.w3.org/1999/xlink");

// What Qt's SVG Tiny renderer draws. Everything else is dropped with its
// content: images and foreign content reach outside the document, scripts
// and animation do nothing useful in a tile.
const QSet<QString> keptElements{
    QStringLiteral("svg"),
    QStringLiteral("g"),
    QStringLiteral("defs"),
    QStringLiteral("title"),
    QStringLiteral("desc"),
    QStringLiteral("path"),
    QStringLiteral("rect"),
    QStringLiteral("circle"),
    QStringLiteral("ellipse"),
    QStringLiteral("line"),
    QStringLiteral("polyline"),
    QStringLiteral("polygon"),
    QStringLiteral("text"),
    QStringLiteral("tspan"),
    QStringLiteral("linearGradient"),
    QStringLiteral("radialGradient"),
    QStringLiteral("stop"),
    QStringLiteral("use"),
    QStringLiteral("style"),
};

const QSet<QString> textElements{QStringLiteral("text"), QStringLiteral("tspan"),
                                 QStringLiteral("title"), QStringLiteral("desc"),
                                 QStringLiteral("style")};

// Geometry and presentation; no event handlers, no external resources.
const QSet<QString> keptAttributes{
    QStringLiteral("id"),
    QStringLiteral("class"),
    QStringLiteral("style"),
    QStringLiteral("version"),
    QStringLiteral("baseProfile"),
    QStringLiteral("viewBox"),
    QStringLiteral("preserveAspectRatio"),
    QStringLiteral("width"),
    QStringLiteral("height"),
    QStringLiteral("x"),
    QStringLiteral("y"),
    QStringLiteral("x1"),
    QStringLiteral("y1"),
    QStringLiteral("x2"),
    QStringLiteral("y2"),
    QStringLiteral("cx"),
    QStringLiteral("cy"),
    QStringLiteral("r"),
    QStringLiteral("rx"),
    QStringLiteral("ry"),
    QStringLiteral("fx"),
    QStringLiteral("fy"),
    QStringLiteral("dx"),
    QStringLiteral("dy"),
    QStringLiteral("d"),
    QStringLiteral("points"),
    QStringLiteral("transform"),
    QStringLiteral("offset"),
    QStringLiteral("gradientUnits"),
    QStringLiteral("gradientTransform"),
    QStringLiteral("spreadMethod"),
    QStringLiteral("fill"),
    QStringLiteral("fill-opacity"),
    QStringLiteral("fill-rule"),
    QStringLiteral("stroke"),
    QStringLiteral("stroke-width"),
    QStringLiteral("stroke-linecap"),
    QStringLiteral("stroke-linejoin"),
    QStringLiteral("stroke-miterlimit"),
    QStringLiteral("stroke-opacity"),
    QStringLiteral("opacity"),
    QStringLiteral("color"),
    QStringLiteral("display"),
    QStringLiteral("visibility"),
    QStringLiteral("stop-color"),
    QStringLiteral("stop-opacity"),
    QStringLiteral("font-family"),
    QStringLiteral("font-size"),
    QStringLiteral("font-weight"),
    QStringLiteral("font-style"),
    QStringLiteral("font-variant"),
    QStringLiteral("text-anchor"),
    QStringLiteral("vector-effect"),
};

bool isGradient(const QString& element) {
    return element == QLatin1String("linearGradient") || element == QLatin1String("radialGradient");
}

/// Every `url(` in the text names a fragment of this document.
bool onlyLocalUrls(QStringView text) {
    for (qsizetype at = text.indexOf(u"url(", 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(u"url(", at + 1, Qt::CaseInsensitive)) {
        qsizetype next = at + 4;
        while (next < text.size() &&
               (text[next].isSpace() || text[next] == u'"' || text[next] == u'\'')) {
            ++next;
        }
        if (next >= text.size() || text[next] != u'#') return false;
    }
    return true;
}

/// CSS the renderer would read: no at-rules (imports), no escapes that could
/// spell a `url(` the check above does not see, no markup, no dash patterns.
bool safeCss(QStringView text) {
    return !text.contains(u'@') && !text.contains(u'\\') && !text.contains(u'<') &&
           !text.contains(u"dasharray", Qt::CaseInsensitive) && onlyLocalUrls(text);
}

// The outermost element's size as Qt's reader takes it: a negative size, or
// one past what its integer geometry holds, makes the whole document invalid.
// Anything but a plain, modest length is left out and the logo is drawn at its
// view box's size instead.
bool isPlainLength(const QString& value) {
    static const QRegularExpression plain(QStringLiteral(
        R"(^\s*((\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?)(px|pt|pc|mm|cm|in|em|ex|%)?\s*$)"));
    const auto match = plain.match(value);
    if (!match.hasMatch()) return false;
    bool ok = false;
    const double number = match.captured(1).toDouble(&ok);
    return ok && number <= 10000;
}

/// "#id" with an id of plain characters, or none.
std::optional<QString> fragmentOf(const QString& href) {
    if (href.size() < 2 || href.front() != u'#') return std::nullopt;
    for (qsizetype i = 1; i < href.size(); ++i) {
        const QChar c = href[i];
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_' && c != u'.' && c != u':') {
            return std::nullopt;
        }
    }
    return href.mid(1);
}

// What drawing an element costs, its content and the elements its `use`s
// name included.
struct Cost {
    qsizetype elements = 0;
    qsizetype glyphs = 0;
    qsizetype pathData = 0;

    Cost& operator+=(const Cost& other) {
        elements += other.elements;
        glyphs += other.glyphs;
        pathData += other.pathData;
        return *this;
    }
};

struct Frame {
    QString element;
    QString id;
    bool holdsUse = false;
    int stops = 0;
    Cost cost;
};

// A closed element with an id, as a `use` may name it.
struct Closed {
    bool holdsUse = false;
    Cost cost;
};

class Sanitizer {
  public:
    Sanitizer(const QByteArray& bytes, const SvgLimits& limits)
        : reader_(bytes), writer_(&out_), limits_(limits) {}

    std::optional<QByteArray> run() {
        while (!reader_.atEnd()) {
            if (!step(reader_.readNext())) return std::nullopt;
        }
        if (reader_.hasError() || !sawRoot_ || !stack_.empty()) return std::nullopt;
        return out_;
    }

  private:
    bool step(QXmlStreamReader::TokenType token) {
        switch (token) {
            case QXmlStreamReader::DTD:
                // The doctype line of an editor is harmless and left out; a
                // DTD that declares entities is not a logo.
                return reader_.entityDeclarations().isEmpty() &&
                       reader_.notationDeclarations().isEmpty();
            case QXmlStreamReader::EntityReference:
                return false;
            case QXmlStreamReader::StartElement:
                return start();
            case QXmlStreamReader::EndElement:
                end();
                return true;
            case QXmlStreamReader::Characters:
                return characters();
            default:
                // Comments, processing instructions, the XML declaration.
                return true;
        }
    }

    bool start() {
        if (++elements_ > limits_.maxElements) return false;
        if (static_cast<int>(stack_.size()) + skipped_ + 1 > limits_.maxDepth) return false;
        if (skipped_ > 0) {
            ++skipped_;
            return true;
        }
        const QString name = reader_.name().toString();
        const bool inSvg = reader_.namespaceUri() == svgNamespace;
        if (stack_.empty()) {
            // One document, one root: an svg element.
            if (sawRoot_ || !inSvg || name != QLatin1String("svg")) return false;
            sawRoot_ = true;
        }
        const bool stopInGradient =
            name == QLatin1String("stop") && !stack_.empty() && isGradient(stack_.back().element);
        if (!inSvg || !keptElements.contains(name) ||
            (name == QLatin1String("stop") && !stopInGradient)) {
            skipped_ = 1;
            return true;
        }
        if (stopInGradient) {
            if (++stack_.back().stops > limits_.maxStopsPerGradient) return false;
            if (++stops_ > limits_.maxStops) return false;
        }

        std::vector<std::pair<QString, QString>> kept;
        QString id;
        Cost cost{1, 0, 0};
        std::optional<QString> target;
        for (const auto& attribute : reader_.attributes()) {
            if (attribute.value().size() > limits_.maxAttributeLength) return false;
            const QString attributeName = attribute.name().toString();
            const QString value = attribute.value().toString();
            const bool isHref =
                attributeName == QLatin1String("href") &&
                (attribute.namespaceUri().isEmpty() || attribute.namespaceUri() == xlinkNamespace);
            if (isHref) {
                target = fragmentOf(value);
                continue;
            }
            if (!attribute.namespaceUri().isEmpty() || !keptAttributes.contains(attributeName)) {
                continue;
            }
            if (attributeName == QLatin1String("style") ? !safeCss(value) : !onlyLocalUrls(value)) {
                continue;
            }
            if (stack_.empty() &&
                (attributeName == QLatin1String("width") ||
                 attributeName == QLatin1String("height")) &&
                !isPlainLength(value)) {
                continue;
            }
            if (attributeName == QLatin1String("d") || attributeName == QLatin1String("points")) {
                cost.pathData += value.size();
            }
            if (attributeName == QLatin1String("id")) {
                // A second element of the same id could stand in for the
                // first, `use`s and all; it keeps no id.
                if (ids_.contains(value) || open_.contains(value)) continue;
                id = value;
                open_.insert(value);
            }
            kept.emplace_back(attributeName, value);
        }

        const bool isUse = name == QLatin1String("use");
        if (isGradient(name)) {
            if (++gradients_ > limits_.maxGradients) return false;
            if (target && !ids_.contains(*target)) target.reset();
        }
        if (isUse) {
            // Only an element already closed and free of `use`s: no cycle,
            // no doubling from one level to the next.
            const auto found = target ? ids_.constFind(*target) : ids_.constEnd();
            if (found == ids_.constEnd() || found.value().holdsUse || ++uses_ > limits_.maxUses) {
                open_.remove(id);
                skipped_ = 1;
                return true;
            }
            // The named element is drawn once more, wherever it stood.
            cost += found.value().cost;
        }
        if (!draw(cost)) return false;

        writer_.writeStartElement(name);
        if (stack_.empty()) {
            writer_.writeAttribute(QStringLiteral("xmlns"), svgNamespace);
            writer_.writeAttribute(QStringLiteral("xmlns:xlink"), xlinkNamespace);
        }
        for (const auto& [attributeName, value] : kept)
            writer_.writeAttribute(attributeName, value);
        if (target && (isUse || isGradient(name))) {
            writer_.writeAttribute(QStringLiteral("xlink:href"), QLatin1Char('#') + *target);
        }
        stack_.push_back(Frame{name, id, isUse, 0, cost});
        return true;
    }

    // Adds to what the document costs to draw; false once that is over a limit.
    bool draw(const Cost& cost) {
        drawn_ += cost;
        return drawn_.elements <= limits_.maxDrawnElements && drawn_.glyphs <= limits_.maxGlyphs &&
               drawn_.pathData <= limits_.maxPathData;
    }

    void end() {
        if (skipped_ > 0) {
            --skipped_;
            return;
        }
        if (stack_.empty()) return;
        const Frame frame = std::move(stack_.back());
        stack_.pop_back();
        if (!frame.id.isEmpty()) {
            open_.remove(frame.id);
            ids_.insert(frame.id, Closed{frame.holdsUse, frame.cost});
        }
        if (!stack_.empty()) {
            if (frame.holdsUse) stack_.back().holdsUse = true;
            stack_.back().cost += frame.cost;
        }
        writer_.writeEndElement();
    }

    bool characters() {
        if (skipped_ > 0 || stack_.empty()) return true;
        const QString& element = stack_.back().element;
        if (!textElements.contains(element)) return true;  // whitespace between shapes
        const QStringView text = reader_.text();
        if (element == QLatin1String("text") || element == QLatin1String("tspan")) {
            const Cost glyphs{0, text.size(), 0};
            stack_.back().cost += glyphs;
            if (!draw(glyphs)) return false;
        } else {
            textLength_ += text.size();
            if (textLength_ > limits_.maxTextLength) return false;
        }
        if (element == QLatin1String("style") && !safeCss(text)) return false;
        writer_.writeCharacters(text.toString());
        return true;
    }

    QXmlStreamReader reader_;
    QByteArray out_;
    QXmlStreamWriter writer_;
    const SvgLimits& limits_;
    std::vector<Frame> stack_;
    QHash<QString, Closed> ids_;
    QSet<QString> open_;  // ids of elements not closed yet
    int skipped_ = 0;     // depth inside an element being left out
    int elements_ = 0;
    int stops_ = 0;
    int uses_ = 0;
    int gradients_ = 0;
    qsizetype textLength_ = 0;
    Cost drawn_;
    bool sawRoot_ = false;
};

}  // namespace

bool looksLikeSvg(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    while (!view.isEmpty() && (view.front() == ' ' || view.front() == '\t' ||
                               view.front() == '\r' || view.front() == '\n')) {
        view = view.sliced(1);
    }
    return view.startsWith('<');
}

std::optional<QByteArray> sanitizeSvg(const QByteArray& bytes, const SvgLimits& limits) {
    if (bytes.isEmpty() || bytes.size() > limits.maxBytes) return std::nullopt;
    return Sanitizer(bytes, limits).run();
}

}  // namespace velawidget
