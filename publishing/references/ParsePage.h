#pragma once

#include <functional>
#include <string>
#include <vector>

namespace references {

// Receives the trace lines of a run; their wording carries no behaviour.
using Trace = std::function<void(const std::string&)>;

// Rewrites the references to local files of a page about to be published.
// Every src or href value (between double or single quotes) that holds
// "file:///" or "about:" is replaced in its line by its file name, the part
// after its last "/" (after its last ":" when it has no "/"), in lower case.
// For each such reference the name it gets on the server (the file name
// cleaned with nettoie) is appended to uploadNames and its local path to
// uploadFiles; both only grow, together. A file referenced on several lines
// is collected once per line.
//
// How a line is scanned: a kind (src=" src=' href=" href=') takes part when
// the line holds its marker, the opener followed by "file:". The line is
// then read from left to right: each pass takes the value whose opener
// comes first at or after the scan position, among all kinds taking part,
// and moves the scan position to just after that value's closing quote. So
// every reference is taken exactly once and the passes end with the line,
// in time proportional to its length. A local value is rewritten where it
// stands; one taken before on the same line is rewritten without being
// collected again. When the scan is over, every other place in the line
// where a taken value occurs (ignoring letter case, "?" in a value matching
// any byte) is rewritten to its file name in one sweep from the left.
//
// The local path is the value as written in the line (letter case kept,
// since file names on this system depend on it) decoded, cleaned with
// nettoie and decoded again, with its "file://" prefix taken off; a
// "file:///c:/..." drive path also loses the "/" in front of the drive.
void parsepage(std::vector<std::string>& lines, std::vector<std::string>& uploadNames,
               std::vector<std::string>& uploadFiles, const Trace& trace = {});

} // namespace references
