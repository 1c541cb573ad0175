// Linked with the whole of one builder stage and nothing of the stages after it: that it links
// at all is the check (the stage calls nothing of a later stage). Running it says so.
#include <cstdio>

int main() {
  std::puts("links without any later stage");
  return 0;
}
