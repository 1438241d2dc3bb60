// Saving and loading a full store (5 players, all 7 countries, 40 pictures each with history and
// damage) against writing the same bytes to one file once.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "engine/base/Log.h"

#include "CMemoryInputStream.h"
#include "CMemoryOutputStream.h"
#include "SaveFileParser.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"

namespace {

const char* const kCountries[] = {"USA",     "UnitedKingdom", "France", "Netherlands",
                                  "Ukraine", "Spain",         "Austria"};
constexpr int kPicturesPerCountry = 40;
constexpr int kProfiles = 5;

Profile fullProfile(int index) {
    Profile profile;
    Settings::getInstance().initNewProfile(profile);
    profile.name = u"Player " + std::u16string(1, static_cast<char16_t>(u'A' + index));
    profile.money = 12345 * (index + 1);
    profile.storyLevel = 140;
    for (int i = 0; i < 20; ++i) {
        profile.shownTutorials.push_back(i);
    }
    for (int i = 0; i < 13; ++i) {
        const std::string name = "evidence_" + std::to_string(i);
        profile.evidence.entries[name] = EvidenceEntry{name, 2};
    }
    PackInfo pack;
    pack.packVersion = "1.0";
    int order = 0;
    for (const char* countryPath : kCountries) {
        PackCountry country;
        country.path = countryPath;
        country.unlockOrder = static_cast<int32_t>(pack.countries.size());
        CountryProgress countryRecord;
        countryRecord.path = countryPath;
        countryRecord.collectionPrice = 39600;
        countryRecord.state = 3;
        profile.world.countries[countryPath] = countryRecord;
        for (int p = 0; p < kPicturesPerCountry; ++p) {
            const std::string path = std::string(countryPath) + "/picture_" + std::to_string(p);
            PackPicture picture;
            picture.authorId = "author_" + std::to_string(p);
            picture.evidence = p == 7 ? "evidence_" + std::to_string(p) : "";
            picture.path = path;
            picture.itemChance = 0.3f;
            picture.museumId = "museum_" + std::to_string(p % 5);
            picture.possibleItems = "item_1,item_2,item_3,item_4,item_5,item_6";
            picture.coins = 1000;
            picture.unlockOrder = order++;
            picture.year = "1889";
            country.pictures.push_back(picture);

            PictureProgress record;
            record.path = path;
            record.earnedTotal = 900;
            record.state = 3;
            record.reservedPair = {5, 0};
            record.reservedRolls = {2};
            record.time = 321.5f;
            for (int d = 0; d < 4; ++d) {
                record.damage.push_back(DamageRecord{d, 100 + d, 200 + d, 2 + d % 3, 1 + d % 3});
            }
            for (int h = 0; h < 8; ++h) {
                record.restoredHistory.insert("item_" + std::to_string(h));
            }
            profile.world.pictures[path] = record;
        }
        pack.countries.push_back(country);
    }
    for (int m = 0; m < 10; ++m) {
        pack.messages.push_back(PackMessage{"message_" + std::to_string(m), "curator", kCountries[m % 7]});
    }
    profile.packs = {pack};
    return profile;
}

UserData fullStore() {
    UserData store;
    for (int i = 0; i < kProfiles; ++i) {
        Profile profile = fullProfile(i);
        store.profiles[profile.name] = profile;
    }
    store.currentUserName = store.profiles.begin()->first;
    return store;
}

std::vector<uint8_t> serialised(const UserData& store) {
    auto out = std::make_shared<Core::CMemoryOutputStream>();
    out->writeInt32(kSaveFormatVersion);
    store.write(out);
    return out->bytes();
}

class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        _path = pattern + "/";
    }
    ~BenchFolder() {
        std::error_code error;
        std::filesystem::remove_all(_path, error);
    }
    const std::string& path() const { return _path; }

private:
    std::string _path;
};

void quietLog() {
    cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
}

void BM_SaveUserData(benchmark::State& state) {
    quietLog();
    BenchFolder folder;
    UserData::getInstance() = fullStore();
    for (auto _ : state) {
        UserDataIO::saveUserData(folder.path());
    }
    const auto size = std::filesystem::file_size(folder.path() + "UserData.bin");
    state.counters["save_bytes"] = static_cast<double>(size);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size) * 2);
}
BENCHMARK(BM_SaveUserData)->Unit(benchmark::kMillisecond);

void BM_LoadUserData(benchmark::State& state) {
    quietLog();
    BenchFolder folder;
    UserData::getInstance() = fullStore();
    UserDataIO::saveUserData(folder.path());
    // The loader prints its checksum lines to the standard output, which the report also uses.
    std::fflush(stdout);
    const int savedStdout = ::dup(STDOUT_FILENO);
    const int devNull = ::open("/dev/null", O_WRONLY);
    ::dup2(devNull, STDOUT_FILENO);
    for (auto _ : state) {
        UserData::getInstance() = UserData{};
        UserDataIO::loadUserData(folder.path());
    }
    std::fflush(stdout);
    ::dup2(savedStdout, STDOUT_FILENO);
    ::close(savedStdout);
    ::close(devNull);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(folder.path() + "UserData.bin")));
}
BENCHMARK(BM_LoadUserData)->Unit(benchmark::kMillisecond);

// The floor: the same bytes written to one file once, no temporary name, no sync.
void BM_WriteSameBytesOnce(benchmark::State& state) {
    BenchFolder folder;
    const std::vector<uint8_t> bytes = serialised(fullStore());
    for (auto _ : state) {
        std::ofstream file(folder.path() + "plain.bin", std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_WriteSameBytesOnce)->Unit(benchmark::kMillisecond);

void BM_SerialiseStore(benchmark::State& state) {
    const UserData store = fullStore();
    for (auto _ : state) {
        benchmark::DoNotOptimize(serialised(store));
    }
}
BENCHMARK(BM_SerialiseStore)->Unit(benchmark::kMillisecond);

void BM_ParseStore(benchmark::State& state) {
    quietLog();
    const std::vector<uint8_t> bytes = serialised(fullStore());
    for (auto _ : state) {
        Core::CMemoryInputStream in(bytes.data(), bytes.size());
        UserData store;
        benchmark::DoNotOptimize(parseSaveFile(in, store, "bench"));
    }
}
BENCHMARK(BM_ParseStore)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
