// Builds NextCell.dat from its readable table (NextCell.txt beside this file).
// Usage: MakeNextCell <table> <output>

#include <array>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/store/Records.h"

namespace {

constexpr int kPatterns = 4;
constexpr int kColumns = 4;
constexpr int kMasks = 16;

int Fail(const std::string& message) {
    std::cerr << "MakeNextCell: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return Fail("usage: MakeNextCell <table> <output>");
    std::ifstream in(argv[1]);
    if (!in)
        return Fail(std::string("cannot read ") + argv[1]);

    std::array<pb::NextCellRecord, kPatterns> records{};
    for (int p = 0; p < kPatterns; ++p)
        records[p].Pattern = p;

    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream fields(line);
        int pattern = 0;
        int column = 0;
        if (!(fields >> pattern))
            continue;  // blank or comment
        const std::string where = std::string(argv[1]) + ":" + std::to_string(number);
        if (!(fields >> column) || pattern < 0 || pattern >= kPatterns || column < 1 ||
            column > kColumns) {
            return Fail(where + ": expected a pattern 0-3 and a column 1-4");
        }
        for (int mask = 0; mask < kMasks; ++mask) {
            int move = 0;
            if (!(fields >> move) || move < 0 || move > 5) {
                return Fail(where + ": expected sixteen moves 0-5");
            }
            records[pattern].Moves[(column - 1) * kMasks + mask] = move;
        }
        std::string extra;
        if (fields >> extra)
            return Fail(where + ": more than sixteen moves");
    }

    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    for (const auto& record : records) {
        const pb::Bytes bytes = pb::ToBytes(record);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    out.close();
    if (!out)
        return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
