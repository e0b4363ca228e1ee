function F: Float; forward;
function F(n: Integer): Float; begin end;
