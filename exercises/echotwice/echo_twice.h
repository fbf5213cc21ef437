// The copying loop of echotwice, over any pair of streams.
#pragma once

#include <cstdio>

// Copies in to out, every byte twice, each pair preceded by the line "....", until the
// end-of-file indication (end of input or a read error). Both loops go through the streams,
// so a text-mode stream's line-end translation applies to them alike, and their output is the
// same byte for byte.

// One character at a time: what someone typing sees echoed line by line.
void EchoTwiceByCharacter(std::FILE* in, std::FILE* out);

// Whole blocks: the same output without a library call per character, for files and pipes.
void EchoTwiceByBlock(std::FILE* in, std::FILE* out);

// Whether the stream is a terminal or console that a person types into.
bool IsInteractive(std::FILE* stream);
