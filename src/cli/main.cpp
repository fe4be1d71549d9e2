#include "cli/cli.h"
#include "shell/recipe/recipe.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Recipes drive the real window; every other command needs none.
    if (!args.empty() && args[0] == "script") {
        if (args.size() < 2 || args[1] == "--") {
            std::cerr << "usage: tesk-cli script RECIPE [-- FILE ...]\n";
            return 2;
        }
        std::vector<std::string> files;
        for (std::size_t i = 2; i < args.size(); ++i) {
            if (i == 2 && args[i] == "--") continue;
            if (i == 2) {
                std::cerr << "usage: tesk-cli script RECIPE [-- FILE ...]\n";
                return 2;
            }
            files.push_back(args[i]);
        }
        return tesk::runRecipe(args[1], files, std::cout, std::cerr);
    }
    return tesk::runCli(args, std::cout, std::cerr);
}
