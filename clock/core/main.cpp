// Kelvora's start routine.
#include "platform/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, "Kelvora");
  return 0;
}
