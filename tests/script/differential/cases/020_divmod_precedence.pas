begin
  Print('17 div 5 * 5='); PrintLn(17 div 5 * 5);
  Print('17 mod 5 * 2='); PrintLn(17 mod 5 * 2);
  Print('2 * 17 mod 5='); PrintLn(2 * 17 mod 5);
  Print('100 div 10 div 3='); PrintLn(100 div 10 div 3);
  Print('100 mod 30 mod 7='); PrintLn(100 mod 30 mod 7);
  Print('1 + 7 div 2='); PrintLn(1 + 7 div 2);
  Print('-7 div 2='); PrintLn(-7 div 2);
  Print('(-7) mod 3='); PrintLn((-7) mod 3);
  Print('-(7 mod 3)='); PrintLn(-(7 mod 3));
end.
