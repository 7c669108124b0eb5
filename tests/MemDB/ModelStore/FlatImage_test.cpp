// Flat record images: sizes, round trips at another address, sequences of
// images, and refusal of damaged blocks.
#include <gtest/gtest.h>

#include <functional>

#include "ModelStoreFixture.h"

using namespace modelstore;

namespace {

std::vector<char> Flatten(dbTableInfo* table, const void* record)
{
    std::vector<char> image(MemDbImageSize(table, record));
    EXPECT_EQ(MemDbFlatten(table, record, image.data()), image.size());
    return image;
}

TEST(FlatImage, SizeIsRecordSizePlusOneTerminatedTextPerField)
{
    ModelT element;
    element.Name = "abc";
    EXPECT_EQ(MemDbStringSpace(&ModelT::TableInfo, &element), 4u + 5u);
    std::vector<char> image = Flatten(&ModelT::TableInfo, &element);
    ASSERT_EQ(image.size(), sizeof(ModelT) + 4 + 5);
    // Texts in field-list order: Name, Type, GUID, Use, Stereotype, File.
    EXPECT_EQ(std::string(image.data() + sizeof(ModelT), 9), std::string("abc\0\0\0\0\0\0", 9));

    EXPECT_EQ(MemDbStringSpace(&SymbolT::TableInfo, nullptr), 10u);
    ModelPage page;
    EXPECT_EQ(Flatten(&ModelPage::TableInfo, &page).size(), sizeof(ModelPage));
    ModelClass cls{3, 1, 0};
    EXPECT_EQ(Flatten(&ModelClass::TableInfo, &cls).size(), sizeof(ModelClass));
}

TEST(FlatImage, ImagesReadBackAnywhereWithTheirTexts)
{
    SymbolT symbol;
    symbol.PID = 9;
    symbol.x1 = -300;
    symbol.ItemState = SYMBOL_CHECKED | SYMBOL_AUTOLAYOUT;
    symbol.MSC = static_cast<int8_t>(MSC_NONE);
    symbol.Color = 0xFF0000;
    symbol.Text = "Größe\r\nzweite Zeile";
    symbol.SGUID = "0123456789ABCDEFGHIJK0";
    symbol.Nodes = "";
    std::string longText(5000, 'x');
    symbol.Syntax = longText.c_str();
    ModelPage page;
    page.ID = 77;

    std::vector<char> first = Flatten(&SymbolT::TableInfo, &symbol);
    std::vector<char> second = Flatten(&ModelPage::TableInfo, &page);
    // Back to back at an odd address, the sources gone.
    std::vector<char> block(1 + first.size() + second.size());
    memcpy(block.data() + 1, first.data(), first.size());
    memcpy(block.data() + 1 + first.size(), second.data(), second.size());
    std::string expected = RowText(&SymbolT::TableInfo, &symbol);
    std::fill(first.begin(), first.end(), '\xAA');
    longText.assign(longText.size(), 'y');

    SymbolT readSymbol;
    size_t used = MemDbReadImage(&SymbolT::TableInfo, block.data() + 1, block.size() - 1,
                                 &readSymbol);
    ASSERT_EQ(used, first.size());
    EXPECT_EQ(RowText(&SymbolT::TableInfo, &readSymbol), expected);
    EXPECT_EQ(std::string(readSymbol.Syntax), std::string(5000, 'x'));
    EXPECT_GE(readSymbol.Text, block.data());
    EXPECT_LT(readSymbol.Text, block.data() + block.size());

    ModelPage readPage;
    ASSERT_EQ(MemDbReadImage(&ModelPage::TableInfo, block.data() + 1 + used,
                             block.size() - 1 - used, &readPage),
              sizeof(ModelPage));
    EXPECT_EQ(readPage.ID, 77);
    EXPECT_EQ(readPage.PageHeight, 29700);
}

// Offset of the text slot of a field in the fixed part.
size_t Slot(dbTableInfo* table, const char* field)
{
    return table->FindField(field)->appOffs;
}

void SetSlot(std::vector<char>& image, size_t slot, uintptr_t value)
{
    memcpy(image.data() + slot, &value, sizeof value);
}

TEST(FlatImage, DamagedImagesAreRefused)
{
    dbTableInfo* table = &ModelT::TableInfo;
    ModelT element;
    element.Name = "Class1";
    element.GUID = "guid";
    const std::vector<char> good = Flatten(table, &element);
    const size_t fixed = sizeof(ModelT);
    const size_t name = Slot(table, "Name");
    const size_t type = Slot(table, "Type");
    const size_t file = Slot(table, "File");

    struct Case {
        const char* what;
        std::function<void(std::vector<char>&)> damage;
    };
    const Case cases[] = {
        {"block shorter than the record", [&](std::vector<char>& b) { b.resize(fixed - 1); }},
        {"last text cut off", [&](std::vector<char>& b) { b.pop_back(); }},
        {"last terminator overwritten", [&](std::vector<char>& b) { b.back() = 'x'; }},
        {"text inside the fixed part", [&](std::vector<char>& b) { SetSlot(b, name, 0); }},
        {"text past the block", [&](std::vector<char>& b) { SetSlot(b, file, b.size() + 8); }},
        {"huge offset", [&](std::vector<char>& b) { SetSlot(b, type, UINTPTR_MAX - 2); }},
        {"gap before a text", [&](std::vector<char>& b) { SetSlot(b, name, fixed + 1); }},
        {"texts out of order", [&](std::vector<char>& b) {
             SetSlot(b, type, fixed);
             SetSlot(b, name, fixed + 7);
         }},
        {"absolute address", [&](std::vector<char>& b) {
             SetSlot(b, name, reinterpret_cast<uintptr_t>(b.data() + fixed));
         }},
    };
    ModelT sentinel;
    sentinel.ID = 12345;
    ModelT read = sentinel;
    ASSERT_EQ(MemDbReadImage(table, good.data(), good.size(), &read), good.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<char> block = good;
        c.damage(block);
        read = sentinel;
        EXPECT_EQ(MemDbReadImage(table, block.data(), block.size(), &read), 0u);
        EXPECT_EQ(read.ID, 12345);
        EXPECT_EQ(read.Name, nullptr);
    }
    EXPECT_EQ(MemDbReadImage(table, nullptr, 100, &read), 0u);
}

} // namespace
