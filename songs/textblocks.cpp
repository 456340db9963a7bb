#include "songs/textblocks.h"

bool IsLabelLineStart(const char* pos, const char* textStart) {
    if (*pos != '.') return false;
    for (const char* p = pos; p > textStart;) {
        --p;
        if (*p == '\n') return true;
        if (static_cast<unsigned char>(*p) >= 33) return false;
    }
    return true;
}

void SplitTextBlocks(const char* text, btkObjArray<Sloka>& blocks) {
    if (!text) return;
    const char* p = text;
    btkstring body, label;
    auto copyBody = [&] {
        while (*p && !IsLabelLineStart(p, text)) body += *p++;
    };
    auto addBlock = [&] {
        auto* block = new Sloka;
        block->label = label;
        block->body = body;
        blocks.add(block);
        label = btkstring();
        body = btkstring();
    };
    copyBody();
    if (!body.empty()) addBlock();
    while (*p) {
        ++p;  // the label line's "."
        while (*p && *p != '\n') label += *p++;
        if (*p == '\n') ++p;
        copyBody();
        if (!body.empty()) addBlock();
    }
}
