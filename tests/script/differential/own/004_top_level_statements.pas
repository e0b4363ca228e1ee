// A script is a sequence of declarations and statements; declarations may follow statements.
var a: Integer;
a := 5;
PrintLn(a);
var b: array[1..2] of Float;
b[1] := a / 2;
PrintLn(b[1]);
PrintLn(b[2]);
function Twice(n: Integer): Integer;
begin
  Result := n * 2;
end;
PrintLn(Twice(a));
