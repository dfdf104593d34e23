// Completes Wine's sal.h: the source annotations that Microsoft's standard
// library uses and Wine's header does not define. Annotations only guide the
// host compiler's code analysis; they expand to nothing, as they do in every
// build that does not run it.
#pragma once
#include_next <sal.h>

#ifndef _Analysis_assume_
#define _Analysis_assume_(expr)
#endif
#ifndef _Check_return_opt_
#define _Check_return_opt_
#endif
#ifndef _Field_z_
#define _Field_z_
#endif
#ifndef _Guarded_by_
#define _Guarded_by_(lock)
#endif
#ifndef _Pre_satisfies_
#define _Pre_satisfies_(cond)
#endif
#ifndef _Interlocked_operand_
#define _Interlocked_operand_
#endif
