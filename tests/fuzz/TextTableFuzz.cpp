// Any bytes as a text file: loadTexts keeps the table whole or fills it, and every lookup answers.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "TextTable.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::writeResource("fuzztexts/texts-en.xml", data, size);
    TextTable::destroyInstance();
    TextTable& table = TextTable::getInstance();
    table.loadTexts("fuzztexts", "de", true);
    table.getText("ui", "title");
    table.lookup("a.b.c");
    table.lookup(std::string(reinterpret_cast<const char*>(data), size < 64 ? size : 64));
    // Merged over a table that holds the game's own texts, as the packs' texts are.
    table.loadTexts("texts", "en", true);
    table.loadTexts("fuzztexts", "en", false);
    table.getText("ui", "skip");
    return 0;
}
