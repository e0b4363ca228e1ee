// A line comment before the declarations.
var x: Integer; // after a declaration
{ a brace comment
  over several lines }
begin
  x := 1; // x := 2;
  { x := 3; }
  PrintLn(x);
  x := x {inline} + 1;
  PrintLn(x);
  PrintLn('// not a comment');
  PrintLn('{ not a comment }');
  // PrintLn('skipped');
end.
