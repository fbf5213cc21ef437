#include "triangles.h"

#include <cctype>

int32_t triangleCount;
int32_t vertexX[triangleCapacity][3];
int32_t vertexY[triangleCapacity][3];

static int IsDigit(int c) {
    return c >= '0' && c <= '9';
}

int ScanNumber(FILE* in, int32_t* slot) {
    int c = getc(in);
    while (c != EOF && std::isspace(c)) {
        c = getc(in);
    }
    int negative = 0;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = getc(in);
    }
    if (!IsDigit(c)) {
        if (c != EOF) {
            ungetc(c, in);
        }
        return 0;
    }
    // The magnitude stops growing once it is past the range; the rest of the digits are still
    // consumed, as they belong to the same number.
    const int64_t limit = int64_t(INT32_MAX) + 1;
    int64_t magnitude = 0;
    while (IsDigit(c)) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (c - '0');
        }
        c = getc(in);
    }
    if (c != EOF) {
        ungetc(c, in);
    }
    if (magnitude > limit) {
        magnitude = limit;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        value = INT32_MAX;
    }
    *slot = int32_t(value);
    return 1;
}

// The number of table rows in use: the count as read, never more than the tables hold.
static int32_t RowsInUse() {
    return triangleCount < triangleCapacity ? triangleCount : int32_t(triangleCapacity);
}

int ReadTriangles(FILE* in) {
    ScanNumber(in, &triangleCount);
    if (triangleCount > triangleCapacity) {
        return 0;
    }
    for (int32_t i = 0; i < triangleCount; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (ScanNumber(in, &vertexX[i][j])) {
                ScanNumber(in, &vertexY[i][j]);
            }
        }
    }
    return 1;
}

static int32_t Shifted(int32_t v) {
    return v > INT32_MAX - triangleOffset ? INT32_MAX : v + triangleOffset;
}

void OffsetTriangles() {
    for (int32_t i = 0; i < RowsInUse(); ++i) {
        for (int j = 0; j < 3; ++j) {
            vertexX[i][j] = Shifted(vertexX[i][j]);
            vertexY[i][j] = Shifted(vertexY[i][j]);
        }
    }
}

int PlanOutlines(OutlineStep steps[maxOutlineSteps]) {
    int n = 0;
    for (int32_t i = 0; i < RowsInUse(); ++i) {
        steps[n++] = OutlineStep{0, vertexX[i][2], vertexY[i][2]};
        for (int j = 0; j < 3; ++j) {
            steps[n++] = OutlineStep{1, vertexX[i][j], vertexY[i][j]};
        }
    }
    return n;
}
