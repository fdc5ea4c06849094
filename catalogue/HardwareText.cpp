#include "catalogue/HardwareText.h"

#include "catalogue/ByteText.h"
#include "catalogue/IntegerText.h"

namespace kanaroll::hardware {

using bytetext::After;
using bytetext::Contains;
using bytetext::Copy;
using bytetext::Pos;
using bytetext::UpToFirstBlank;

void AppendClockedChip(std::string& out, std::string_view line) {
    const long name = Pos("name", line);
    const long clock = Pos("clock", line);
    const long close = Pos(")", line);
    out.append(Copy(line, name + 5, clock - name - 6));
    AppendClock(out, ParseInteger(Copy(line, clock + 6, close - clock - 7)));
}

void AppendClock(std::string& out, std::int64_t hertz) {
    out += " @ ";
    if (hertz >= 1000000) {
        out += FormatFixed(static_cast<double>(hertz) / 1000000.0, 5, 6);
        out += "MHz";
    } else {
        out += FormatFixed(static_cast<double>(hertz) / 1000.0, 3, 3);
        out += "KHz";
    }
}

void AppendSoundChip(std::string& out, std::string_view line) {
    if (Contains(line, "clock")) {
        AppendClockedChip(out, line);
        return;
    }
    const long name = Pos("name", line);
    const long close = Pos(")", line);
    out.append(Copy(line, name + 5, close - name - 6));
}

void ApplyVideoLine(std::string& videoText, std::string_view line) {
    if (Contains(line, " x ") && Contains(line, " y ")) {
        videoText.assign(UpToFirstBlank(After(line, " x ")));
        videoText += " x ";
        videoText += UpToFirstBlank(After(line, " y "));
    }
    if (!videoText.empty() && Contains(line, "freq")) {
        videoText += " @ ";
        videoText += UpToFirstBlank(After(line, "freq "));
        videoText += "Hz";
    }
}

std::string& DescriptionList::Add() {
    if (m_count == m_items.size()) m_items.emplace_back();
    std::string& item = m_items[m_count++];
    item.clear();
    return item;
}

std::string DescriptionList::TakeGrouped() {
    std::string joined;
    for (std::size_t i = 0; i < m_count; ++i) {
        std::string& item = m_items[i];
        // An emptied item was merged into an earlier one; an empty description adds nothing.
        if (item.empty()) continue;
        int count = 1;
        for (std::size_t j = i + 1; j < m_count; ++j) {
            if (m_items[j] == item) {
                m_items[j].clear();
                ++count;
            }
        }
        if (!joined.empty()) joined += ", ";
        if (count > 1) {
            joined += std::to_string(count);
            joined += " x ";
        }
        joined += item;
    }
    m_count = 0;
    return joined;
}

}  // namespace kanaroll::hardware
