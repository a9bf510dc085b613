#include "ipconfig/typed_command.h"

#include <cstring>

namespace {

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the first length bytes of typed end with name's first nameLength bytes, letters
// of either case, right after a path's separator or at the start.
bool EndsWithName(const char* typed, std::size_t length, const char* name, std::size_t nameLength) {
  if (nameLength == 0 || nameLength > length) return false;
  const char* tail = typed + length - nameLength;
  for (std::size_t i = 0; i < nameLength; ++i)
    if (Folded(tail[i]) != Folded(name[i])) return false;
  return tail == typed || std::strchr("\\/:", tail[-1]) != nullptr;
}

bool NamesProgram(const char* typed, std::size_t length, const char* fileName) {
  const std::size_t whole = std::strlen(fileName);
  const char* dot = std::strrchr(fileName, '.');
  const std::size_t stem = dot != nullptr ? static_cast<std::size_t>(dot - fileName) : whole;
  return EndsWithName(typed, length, fileName, whole) ||
         EndsWithName(typed, length, fileName, stem);
}

}  // namespace

std::size_t ProgramNameLength(const char* typed, std::size_t length, const char* fileName) {
  if (NamesProgram(typed, length, fileName)) return length;
  for (std::size_t slash = length; slash-- > 0;)
    if (typed[slash] == '/' && NamesProgram(typed, slash, fileName)) return slash;
  return length;
}

const char* TypedArguments(const char* commandLine, const char* fileName) {
  const char* at = commandLine;
  if (*at == '"') {
    ++at;
    while (*at != '\0' && *at != '"') ++at;
    if (*at == '"') ++at;
  } else {
    while (*at != '\0' && *at != ' ' && *at != '\t') ++at;
    const std::size_t length = static_cast<std::size_t>(at - commandLine);
    at = commandLine + ProgramNameLength(commandLine, length, fileName);
  }
  while (*at == ' ' || *at == '\t') ++at;
  return at;
}
