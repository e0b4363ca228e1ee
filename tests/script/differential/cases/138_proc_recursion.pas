function Fact(n: Integer): Integer;
begin
  if n <= 1 then
    Result := 1
  else
    Result := n * Fact(n - 1);
end;

function Fib(n: Integer): Integer;
begin
  if n < 2 then
    Result := n
  else
    Result := Fib(n - 1) + Fib(n - 2);
end;

function Power2(n: Integer): Float;
begin
  if n = 0 then
    Result := 1
  else
    Result := 2 * Power2(n - 1);
end;

begin
  PrintLn(Fact(12));
  PrintLn(Fib(20));
  PrintLn(Power2(64));
  PrintLn(Fib(1) + Fib(2) + Fib(3));
end.
