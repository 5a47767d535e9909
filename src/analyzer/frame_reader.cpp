#include "analyzer/frame_reader.h"

const char kIncompleteFrameText[] = "\r\nError:报文不完整\r\n";
