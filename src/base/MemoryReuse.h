#pragma once

namespace vorrel {

// Lets freed blocks of up to tens of megabytes stay with the process for the next ones.
// Opening fills the new text beside the old one and frees the old afterwards; without this
// the C library gives each large block back to the system and the next opening pays for
// every page of fresh memory again, which on a virtual machine costs more than reading.
// Call once, before the first window.
void keepFreedMemoryForReuse();

} // namespace vorrel
