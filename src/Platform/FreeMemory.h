#pragma once

// Gives the memory the allocator holds free back to the system. The scan's worker threads
// each allocate from their own pool of the allocator, so what one stage frees on them stays
// resident, out of reach of the next stage's threads, unless it is handed back. Costs a few
// milliseconds over a scan's heap; call it between stages, not per item.
void returnFreeMemoryToSystem();
