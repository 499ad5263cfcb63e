#include "ParsePage.h"

#include "LocalValues.h"

#include "connections/TextOps.h"

#include <array>
#include <optional>
#include <string_view>

namespace references {

namespace text = connections::text;

namespace {

struct Kind {
    std::string_view opener;
    std::string_view closer;
    std::string_view marker;
};

constexpr std::array<Kind, 4> kKinds{{
    {"src=\"", "\"", "src=\"file:"},
    {"src='", "'", "src='file:"},
    {"href=\"", "\"", "href=\"file:"},
    {"href='", "'", "href='file:"},
}};

// A value of the line: where it starts, its length, and the scan position
// just after its closing quote (0-based offsets into the line).
struct Found {
    std::size_t start;
    std::size_t length;
    std::size_t next;
};

// Finds the values of a line's taking-part kinds from left to right. Each
// kind remembers where its next opener is, so the whole line is searched
// about once per kind however many values it holds.
class ValueScanner {
public:
    explicit ValueScanner(const std::string& lowered) : m_lowered(lowered) {
        for (const Kind& kind : kKinds)
            if (lowered.find(kind.marker) != std::string::npos)
                m_kinds.push_back({&kind, std::nullopt});
    }

    bool any() const { return !m_kinds.empty(); }

    // The value whose opener comes first at or after position.
    std::optional<Found> next(std::size_t position) {
        while (true) {
            KindState* first = nullptr;
            for (KindState& state : m_kinds) {
                if (!state.opener || *state.opener < position)
                    state.opener = m_lowered.find(state.kind->opener, position);
                if (*state.opener != std::string::npos &&
                    (!first || *state.opener < *first->opener))
                    first = &state;
            }
            if (!first)
                return std::nullopt;
            std::size_t start = *first->opener + first->kind->opener.size();
            std::size_t close = m_lowered.find(first->kind->closer, start);
            if (close != std::string::npos)
                return Found{start, close - start, close + first->kind->closer.size()};
            // No closer after this opener means none after any later one.
            first->opener = std::string::npos;
        }
    }

private:
    struct KindState {
        const Kind* kind;
        std::optional<std::size_t> opener;
    };
    const std::string& m_lowered;
    std::vector<KindState> m_kinds;
};

bool isLocal(std::string_view value) {
    return value.find("file:///") != std::string_view::npos ||
           value.find("about:") != std::string_view::npos;
}

std::string fileNameOf(std::string_view value) {
    std::size_t cut = value.rfind('/');
    if (cut == std::string_view::npos)
        cut = value.rfind(':');
    return std::string(cut == std::string_view::npos ? value : value.substr(cut + 1));
}

bool startsWithDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

std::string localPathOf(const std::string& value) {
    std::string path = text::decode(value);
    text::nettoie(path);
    path = text::decode(path);
    std::string lowered = text::lowerCase(path);
    if (lowered.starts_with("file:///") && startsWithDrive(std::string_view(path).substr(8)))
        return path.substr(8);
    if (lowered.starts_with("file://"))
        return path.substr(7);
    return path;
}

void parseLine(std::string& line, std::vector<std::string>& uploadNames,
               std::vector<std::string>& uploadFiles, const Trace& trace) {
    std::string lowered = text::lowerCase(line);
    ValueScanner scanner(lowered);
    if (!scanner.any())
        return;
    std::optional<LocalValues> values;
    std::string rewritten;
    std::size_t copied = 0;
    std::size_t position = 0;
    while (std::optional<Found> found = scanner.next(position)) {
        position = found->next;
        std::string_view value(lowered.data() + found->start, found->length);
        if (trace)
            trace("extrait : " + std::string(value));
        if (!isLocal(value))
            continue;
        std::string fileName = fileNameOf(value);
        if (!values)
            values.emplace();
        if (values->add(value, fileName)) {
            std::string remoteName = fileName;
            text::nettoie(remoteName);
            uploadNames.push_back(remoteName);
            uploadFiles.push_back(localPathOf(line.substr(found->start, found->length)));
            if (trace)
                trace("nom distant : " + remoteName);
        }
        rewritten.append(line, copied, found->start - copied);
        rewritten += fileName;
        copied = found->start + found->length;
    }
    if (!values)
        return;
    rewritten.append(line, copied);
    line = values->rewriteOccurrences(rewritten);
    if (trace)
        trace("ligne : " + line);
}

} // namespace

void parsepage(std::vector<std::string>& lines, std::vector<std::string>& uploadNames,
               std::vector<std::string>& uploadFiles, const Trace& trace) {
    if (trace)
        trace("lignes : " + std::to_string(lines.size()));
    for (std::string& line : lines)
        parseLine(line, uploadNames, uploadFiles, trace);
    if (trace)
        trace("fin de l'analyse");
}

} // namespace references
