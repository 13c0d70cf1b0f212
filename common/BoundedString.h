// Bounded copy and append for fixed character buffers: the one place where
// the library guards a buffer's end. Both always leave the buffer terminated.
#ifndef VELTRANO_BOUNDEDSTRING_H
#define VELTRANO_BOUNDEDSTRING_H

// Copies source into target (size characters including the terminator),
// cutting it when it does not fit. Returns 1 when all of it fitted, else 0.
int CopyBounded(char *target, const char *source, unsigned size);

// Appends source behind the text in target (size characters including the
// terminator), cutting it when it does not fit. Returns 1 when all of it
// fitted, else 0. A target that is not terminated within size is cut to fit.
int AppendBounded(char *target, const char *source, unsigned size);

// Appends number in decimal digits behind the text in target, as
// AppendBounded does. Returns 1 when all of it fitted, else 0.
int AppendDecimal(char *target, unsigned number, unsigned size);

// Length of text, or limit when text has no terminator within limit.
unsigned LengthBounded(const char *text, unsigned limit);

#endif
