// Stands in for the separate rebar-setting program in the hand-over tests.
// Takes the one "/"-prefixed transfer-file argument, checks the six lines,
// and acts on the exchange file as FAKE_FENDRAL_MODE says:
//   normal (default)  Text1 := "set", block 1 named "B1" with values 1..6
//   delete            removes the exchange file
//   fewer             writes the records without the last one
//   fail              exits 3 without touching anything
//   slow              sleeps FAKE_FENDRAL_SLEEP_MS (default 1000), then normal
// FAKE_FENDRAL_LOG, when set, names a file that gets one line per argument.
#include "model/fendral.h"
#include "platform/text/cp932.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv)
{
    if (const char* log = std::getenv("FAKE_FENDRAL_LOG")) {
        std::ofstream out(log);
        for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    }
    const std::string mode = std::getenv("FAKE_FENDRAL_MODE") ? std::getenv("FAKE_FENDRAL_MODE") : "normal";
    if (mode == "fail") return 3;
    if (mode == "slow") {
        const char* ms = std::getenv("FAKE_FENDRAL_SLEEP_MS");
        std::this_thread::sleep_for(std::chrono::milliseconds(ms ? std::atoi(ms) : 1000));
    }
    if (argc != 2 || argv[1][0] != '/') return 2;

    // "/" + an absolute path reads "//tmp/...", which the system resolves.
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (l.empty() || l.back() != '\r') return 4;  // CR LF expected
        l.pop_back();
        lines.push_back(text::FromCp932(l));
    }
    if (lines.size() != 6 || lines[0] != "受け渡しファイル" || lines[1] != "1.00" || lines[5] != "-+-") return 5;
    const std::string& tempPath = lines[3];
    const std::string& tempFile = lines[4];
    if (mode == "delete") return std::remove((tempPath + tempFile).c_str()) == 0 ? 0 : 6;

    model::clsFendral list;
    list.Data_Read(tempPath, "", tempFile);
    model::FendralTbl rec;
    const int32_t count = list.GetCount();
    for (int32_t i = 1; i <= count; ++i) {
        list.Get_Data(i, rec, 1);
        rec.Text1 = "set";
        rec.Blocks(1).Name = "B1";
        for (long k = 1; k <= 6; ++k) rec.Blocks(1).Values(k) = static_cast<double>(k);
        list.Set_Data(i, rec, 1);
    }
    if (mode == "fewer" && count > 0) list.Del_Data(count, 1);
    list.Data_Write(tempPath, "", tempFile);
    return 0;
}
