// Posts waiting "add local game" commands from three threads for ever and prints each FilePath
// once its waiting post has returned. The durability test kills it at random moments.
#include "store/LibraryDatabase.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace ravelo;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: store_kill_child <database file> <run tag>\n");
        return 2;
    }
    LibraryDatabase db(argv[1]);
    if (!db.IsReady()) {
        std::fprintf(stderr, "store_kill_child: %s\n", db.OpenError().c_str());
        return 2;
    }
    const std::string tag = argv[2];
    std::mutex output;
    std::vector<std::thread> posters;
    for (int t = 0; t < 3; ++t) {
        posters.emplace_back([&, t] {
            for (int i = 0;; ++i) {
                LocalGame game;
                game.GameName = u"杀不死的游戏";
                game.FilePath = tag + "/" + std::to_string(t) + "/" + std::to_string(i);
                game.FileName = "game.nes";
                if (!db.PostWait(DbOperation::AddLocalGame, game)) {
                    std::fprintf(stderr, "store_kill_child: insert failed\n");
                    std::_Exit(3);
                }
                std::lock_guard guard(output);
                std::fprintf(stdout, "%s\n", game.FilePath.c_str());
                std::fflush(stdout);
            }
        });
    }
    for (auto& poster : posters)
        poster.join();
    return 0;
}
