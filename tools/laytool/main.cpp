#include "Laytool.h"

#include <iostream>

int main(int argc, char** argv)
{
    return RunLaytool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
