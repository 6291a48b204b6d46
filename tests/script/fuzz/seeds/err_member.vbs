Err.t u
